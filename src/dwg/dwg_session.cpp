// Opening, saving and closing the drawing of a conversion in the drawing database.
#include "dwg/dwg_session.h"

#include "dwg/save_progress.h"
#include "platform/messages.h"

namespace tsn {
namespace {

constexpr int kContextNewDrawing = 2;
constexpr int kContextSave = 3;
constexpr int kContextMoveLabel = 1001;
constexpr int kSaveDwg = 0;
constexpr int kSaveDxf = 1;

DatabaseError database_error() {
  const int number = db_last_error();
  return DatabaseError{number, std::string(db_error_text(number))};
}

// The label block, whose entity list receives every label until the save.
int open_label_block(DwgSession& session) {
  DbBlockHeader block;
  db_init_blockheader(session.drawing, block);
  block.name.assign(kLabelBlockName);
  if (adAddBlockheader(session.drawing, block) == 0) {
    log_write("Error adAddBlockheader\n");
    report_database_error(kContextNewDrawing);
    return -1;
  }
  session.label_block = block.handle;
  session.label_entities = block.entities;
  session.label_block_open = true;
  return 0;
}

// Every label of the block goes to model space after the other entities, with a new handle;
// then the block is deleted.
void dissolve_label_block(DwgSession& session) {
  Drawing* d = session.drawing;
  DbCursor cursor;
  DbEntity e;
  DbAux aux;
  std::vector<std::pair<DbEntity, DbAux>> labels;
  while (db_read_block_entity(d, session.label_entities, cursor, e, &aux) != 0) {
    if (e.type == kDbEndblk) break;
    if (e.type == kDbBlock) continue;
    labels.emplace_back(e, aux);
  }
  for (auto& [label, label_aux] : labels) {
    db_delete_entity(d, session.label_entities, label.handle);
    label.handle = DbHandle{};
    db_new_handle(d, label.handle);
    if (db_add_entity(d, session.model_space, label, &label_aux) == 0) {
      report_database_error(kContextMoveLabel);
    }
  }
  db_delete_block(d, session.label_block);
  session.label_block_open = false;
}

}  // namespace

int save_release_code(int verDXF) { return verDXF == 6 || verDXF == 7 ? verDXF : 4; }

int start_dwg(DwgSession& session, const ConvSettings& s, const std::string& init_path,
              bool table_open) {
  trace_write("start_dwg() :\n");
  static bool handler_given = false;
  if (!handler_given) {
    db_set_error_handler(critical_error);
    set_database_error_source(database_error);
    handler_given = true;
  }
  if (session.drawing == nullptr) {
    int error = 0;
    if (db_init(init_path, 0, &error) == 0) {
      // The beep, then the status line the log keeps too.
      status_error("\nUnable to initialise DrawEngine\nError number " + std::to_string(error) +
                   ": " + std::string(db_error_text(error)) + " (" + init_path + ")");
      trace_write("initerror==%s\n", std::string(db_error_text(error)).c_str());
      return -1;
    }
    session.initialised = true;
    session.drawing = db_new_drawing(s.verDXF > 6 ? 7 : 6);
    if (session.drawing == nullptr) {
      status_error("\nVirtual memory error");
      report_database_error(kContextNewDrawing);
      close_dwg(session);
      return -1;
    }
    DbHandle model;
    if (db_find_block(session.drawing, "*MODEL_SPACE", model) == 0 ||
        db_block_entities(session.drawing, model, session.model_space) == 0) {
      report_database_error(kContextNewDrawing);
      close_dwg(session);
      return -1;
    }
    db_set_progress_handler(save_progress_report);
  }
  if (s.cur.TextLabels != 0 && table_open && !session.label_block_open &&
      open_label_block(session) != 0) {
    close_dwg(session);
    return -1;
  }
  trace_write("end:start_dwg() :\n");
  return 0;
}

int write_output_file(DwgSession& session, const ConvSettings& s, const std::string& save_path,
                      const std::string& output_path, bool group_closing) {
  trace_write("write_output_file() :\n");
  if (session.label_block_open) dissolve_label_block(session);
  status_write("\nWriting output file %s", output_path.c_str());
  trace_write("b4 adSaveFile :\n");
  const bool dwg = s.SaveFileType == 1;
  start_save_progress(save_release_code(s.verDXF), group_closing);
  const int saved = adSaveFile(session.drawing, save_path, dwg ? kSaveDwg : kSaveDxf,
                               save_release_code(s.verDXF), dwg ? 0 : s.DecPlaces,
                               dwg ? 0 : (s.Use2D == 0 ? 1 : 0));
  trace_write("aft adSaveFile :\n");
  if (saved == 0) {
    trace_write("ERROR Saving file: %s\n", output_path.c_str());
    status_error("\nERROR Saving file: " + output_path);
    if (db_last_error() != 0) {
      report_database_error(kContextSave);
    } else {
      status_write("\nDisk full?");
    }
    return 1;
  }
  status_write("   OK");
  if (const long hatches = db_hatches_left_out(); hatches > 0) {
    status_write("\n%ld hatch fills left out: a release 12 drawing holds no hatches", hatches);
  }
  return 0;
}

void close_dwg(DwgSession& session) {
  if (session.drawing != nullptr) db_close_drawing(session.drawing);
  session.drawing = nullptr;
  session.label_block_open = false;
  if (session.initialised) {
    db_shutdown();
    trace_write("db_shutdown() :\n");
  }
  session.initialised = false;
}

}  // namespace tsn

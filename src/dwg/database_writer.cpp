// Drawing header, tables, blocks and entities into the drawing database, and the save.
#include "dwg/database_writer.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "drawdb/header_fields.h"
#include "dwg/database_entities.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/temp_files.h"

namespace tsn {
namespace {

constexpr int kContextViewport = 33;
constexpr int kContextBlock = 1042;
constexpr int kContextTables = 1040;
constexpr double kFixedJulianDate = 2451545.0;  // 1 January 2000, for drawings without a date

std::size_t stream_index(DrawingStream s) { return static_cast<std::size_t>(s); }

std::string upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

double julian_now(const ConvSettings& s) {
  if (s.No999 != 0) return kFixedJulianDate;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return db_julian_date(local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour,
                        local.tm_min, local.tm_sec);
}

}  // namespace

DatabaseWriter::DatabaseWriter(const ConvSettings& s)
    : settings_(s), release_(release_traits(s.verDXF == 5 ? 4 : s.verDXF)) {}

DatabaseWriter::~DatabaseWriter() {
  close_dwg(session_);
  output_.discard();
  remove_private_directory();
}

void DatabaseWriter::remove_private_directory() {
  if (private_dir_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(private_dir_, ec);
  private_dir_.clear();
}

int DatabaseWriter::open(const std::string& output_path, const std::string& temp_dir,
                         const std::string& init_path, bool table_open) {
  // An output that can never be written is refused before any work is done for it.
  if (output_.open(output_path) != 0) return -1;
  output_path_ = output_path;
  if (open_drawing(temp_dir, init_path, table_open) != 0) return -1;
  return make_temporary_output();
}

int DatabaseWriter::start(const std::string& temp_dir, const std::string& init_path,
                          bool table_open) {
  several_inputs_ = true;
  return open_drawing(temp_dir, init_path, table_open);
}

int DatabaseWriter::open_drawing(const std::string& temp_dir, const std::string& init_path,
                                 bool table_open) {
  // A device or FIFO output is saved in a private directory and copied into it.
  private_dir_ = make_private_directory(temp_dir);
  if (private_dir_.empty()) {
    report_cannot_open(with_trailing_separator(temp_dir) + "tsn-XXXXXX");
    return -1;
  }
  init_path_ = init_path;
  if (start_dwg(session_, settings_, init_path, table_open) != 0) {
    remove_private_directory();
    return -1;
  }
  return 0;
}

int DatabaseWriter::add_input(bool table_open) {
  return start_dwg(session_, settings_, init_path_, table_open);
}

int DatabaseWriter::set_output(const std::string& output_path) {
  if (output_.open(output_path) != 0) return -1;
  output_path_ = output_path;
  return make_temporary_output();
}

int DatabaseWriter::make_temporary_output() {
  if (output_.make_temporary(private_dir_) == 0) return 0;
  output_.discard();
  return -1;
}

void DatabaseWriter::header(const DrawingExtents& extents) {
  DrawingExtents x = extents;
  if (extents_) {
    x.xmin = std::min(x.xmin, extents_->xmin);
    x.ymin = std::min(x.ymin, extents_->ymin);
    x.xmax = std::max(x.xmax, extents_->xmax);
    x.ymax = std::max(x.ymax, extents_->ymax);
  }
  extents_ = x;
  Drawing* d = session_.drawing;
  DbHeader h;
  db_get_header(d, h);
  h.extmin = {x.xmin, x.ymin, 0.0};
  h.extmax = {x.xmax, x.ymax, 0.0};
  h.limmin = {x.xmin, x.ymin};
  h.limmax = {x.xmax, x.ymax};
  h.view_centre = {(x.xmin + x.xmax) / 2, (x.ymin + x.ymax) / 2};
  h.view_size = x.ymax - x.ymin;
  // The code page the table's text was converted into names the drawing's; the index setting
  // stands only for a name without one.
  const int named = code_page_index(settings_.DWGCodePageString);
  h.code_page = named >= 0 ? named : settings_.DWGCodePageIndex;
  h.tdcreate = h.tdupdate = julian_now(settings_);
  db_put_header(d, h);
  DbVport vport;
  if (db_first_vport(d, vport) != 0) {
    vport.centre = {(x.xmin + x.xmax) / 2 - (x.xmax - x.xmin) / 4, (x.ymin + x.ymax) / 2};
    vport.height = x.ymax - x.ymin;
    if (db_replace_vport(d, vport) == 0) report_database_error(kContextViewport);
  }
}

void DatabaseWriter::tables(const DrawingSetup& setup) {
  for (const auto* list : {&setup.layers, &setup.class_layers}) {
    for (const LayerDef& l : *list) {
      DbHandle found;
      if (db_find_layer(session_.drawing, l.name, found) != 0) {
        layers_[upper(l.name)] = found;
        continue;
      }
      DbLayer record;
      db_init_layer(session_.drawing, record);
      record.name = l.name;
      record.colour = l.colour;
      if (db_add_layer(session_.drawing, record) == 0) {
        report_database_error(kContextTables);
      } else {
        layers_[upper(l.name)] = record.handle;
      }
    }
  }
  for (const TextStyleDef& style : setup.styles) {
    DbCursor cursor;
    DbStyle existing;
    bool replaced = false;
    while (db_next_style(session_.drawing, cursor, existing) != 0) {
      if (upper(existing.name) != upper(style.name)) continue;
      existing.font = style.font;
      replaced = db_replace_style(session_.drawing, existing) != 0;
      break;
    }
    if (!replaced) {
      DbStyle record;
      db_init_style(session_.drawing, record);
      record.name = style.name;
      record.font = style.font;
      if (db_add_style(session_.drawing, record) == 0) report_database_error(kContextTables);
    }
    styles_.insert(upper(style.name));
  }
  if (regapp_registered_) return;
  regapp_registered_ = true;
  DbRegapp app;
  db_init_regapp(session_.drawing, app);
  app.name.assign(kAppId);
  if (db_add_regapp(session_.drawing, app) == 0) report_database_error(kContextTables);
}

int DatabaseWriter::begin_drawing(const DrawingSetup& setup) {
  input_blocks_.clear();
  header(setup.extents);
  tables(setup);
  return 0;
}

DbHandle DatabaseWriter::layer(std::string_view name) {
  // Consecutive entities nearly always share their layer.
  if (name == last_layer_name_) return last_layer_;
  last_layer_name_.assign(name);
  last_layer_ = find_or_add_layer(name);
  return last_layer_;
}

DbHandle DatabaseWriter::find_or_add_layer(std::string_view name) {
  const std::string key = upper(name.empty() ? "0" : name);
  if (const auto it = layers_.find(key); it != layers_.end()) return it->second;
  // A layer no table step made: the entity's layer is made for it, as a reader would.
  DbHandle found;
  if (db_find_layer(session_.drawing, name, found) == 0) {
    DbLayer record;
    db_init_layer(session_.drawing, record);
    record.name.assign(name);
    if (db_add_layer(session_.drawing, record) == 0) report_database_error(kContextTables);
    found = record.handle;
  }
  layers_[key] = found;
  return found;
}

DbHandle DatabaseWriter::block(std::string_view name) {
  if (const auto it = blocks_.find(upper(name)); it != blocks_.end()) return it->second;
  DbHandle found;
  db_find_block(session_.drawing, name, found);
  return found;
}

void DatabaseWriter::ensure_style(std::string_view name) {
  if (name.empty() || styles_.contains(upper(name))) return;
  DbStyle record;
  db_init_style(session_.drawing, record);
  record.name.assign(name);
  if (db_add_style(session_.drawing, record) == 0) report_database_error(kContextTables);
  styles_.insert(upper(name));
}

int DatabaseWriter::begin_block(DrawingStream stream, const BlockDef& b) {
  const std::string key = upper(b.name);
  // A marker, legend or attribute block an earlier input of the drawing defined already.
  if (blocks_.contains(key) && !input_blocks_.contains(key)) {
    dropping_[stream_index(stream)] = true;
    return 0;
  }
  input_blocks_.insert(key);
  DbBlockHeader header;
  db_init_blockheader(session_.drawing, header);
  header.name.assign(b.name);
  header.flags = b.flags;
  header.base = {b.base.x, b.base.y, b.base.z};
  if (adAddBlockheader(session_.drawing, header) == 0) {
    log_write("Error adAddBlockheader\n");
    report_database_error(kContextBlock);
    return -1;
  }
  DbBlockHeader sought;
  if (adSeekBlockheader(session_.drawing, header.handle, sought) == 0) {
    log_write("Error adSeekBlockheader\n");
    report_database_error(kContextBlock);
    sought = header;
  }
  blocks_[key] = header.handle;
  open_blocks_[stream_index(stream)] = sought.entities;
  return 0;
}

int DatabaseWriter::end_block(DrawingStream stream) {
  open_blocks_[stream_index(stream)].reset();
  dropping_[stream_index(stream)] = false;
  return 0;
}

DbEntityList DatabaseWriter::list_for(DrawingStream stream) const {
  if (const auto& open = open_blocks_[stream_index(stream)]; open) return *open;
  if (stream == DrawingStream::labels && session_.label_block_open) {
    return session_.label_entities;
  }
  return session_.model_space;
}

EntityRef DatabaseWriter::reserve() {
  DbHandle h;
  if (db_new_handle(session_.drawing, h) == 0) return {};
  return EntityRef{static_cast<std::uint32_t>(handle_value(h))};
}

int DatabaseWriter::add_record(DbEntityList list, DbEntity& e, const DbAux* aux, int context) {
  if (db_add_entity(session_.drawing, list, e, aux) != 0) return 0;
  // The entity is left out and the run goes on.
  report_database_error(context);
  return -1;
}

int DatabaseWriter::add(DrawingStream stream, const Entity& entity, EntityRef* made) {
  if (made != nullptr) *made = {};
  if (dropping_[stream_index(stream)]) return 0;
  const DbEntityList list = list_for(stream);
  DatabaseRefs refs;
  refs.layer = layer(entity.look.layer);
  if (const auto* insert = std::get_if<InsertEntity>(&entity.shape)) refs.block = block(insert->block);
  if (std::holds_alternative<FilledDisc>(entity.shape)) {
    DatabaseRecord disc = disc_record(release_, entity, refs);
    return add_record(list, disc.entity, &disc.aux, database_context(entity.shape));
  }
  DbEntity& e = work_;
  DbAux& aux = work_aux_;
  if (!database_records(entity, refs, e, aux)) {
    report_database_error(database_context(entity.shape));
    return -1;
  }
  if (e.type == kDbText || e.type == kDbAttrib || e.type == kDbAttdef) ensure_style(e.style_name);
  if (add_record(list, e, &aux, database_context(entity.shape)) != 0) return -1;
  if (made != nullptr) *made = EntityRef{static_cast<std::uint32_t>(handle_value(e.handle))};
  return 0;
}

int DatabaseWriter::finish(bool (*cancelled)()) {
  // The save reports its own progress, from 80 % up; the end of the save fills the bar.
  progress_start();
  const int saved = write_output_file(session_, settings_, output_.temporary_path(), output_path_,
                                      several_inputs_);
  progress_step_to(100);
  progress_end();
  if (saved != 0) {
    discard();
    return 1;
  }
  close_dwg(session_);
  const int committed = output_.commit(cancelled != nullptr ? CancelCheck(cancelled) : CancelCheck());
  remove_private_directory();
  return committed;
}

void DatabaseWriter::discard() {
  close_dwg(session_);
  output_.discard();
  remove_private_directory();
}

}  // namespace tsn

// The drawing writer of every output the DXF text writer does not make: entities become
// records of the drawing database, which saves the whole file at the end.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "drawing/drawing_writer.h"
#include "drawing/release_traits.h"
#include "dwg/dwg_session.h"
#include "platform/output_commit.h"
#include "settings/conv_settings.h"

namespace tsn {

class DatabaseWriter final : public DrawingWriter {
 public:
  explicit DatabaseWriter(const ConvSettings& s);
  ~DatabaseWriter() override;
  DatabaseWriter(const DatabaseWriter&) = delete;
  DatabaseWriter& operator=(const DatabaseWriter&) = delete;

  // Prepares the output (a temporary file beside it, or in a private directory made in
  // temp_dir for a device or FIFO) and opens the database and its drawing (the initialisation
  // file `init_path`); 0, or nonzero with the failure said.
  int open(const std::string& output_path, const std::string& temp_dir,
           const std::string& init_path, bool table_open);

  // A drawing several inputs go into before it is saved (a merge group). `start` opens the
  // database and the drawing for the first input, `add_input` readies it for each later one
  // (its label block when that input has labels), `set_output` names the output once it is
  // known, then `finish` saves. Between inputs the drawing keeps its layers, styles, blocks
  // and application id; the header extents grow to hold every input's. 0, or nonzero with
  // the failure said.
  int start(const std::string& temp_dir, const std::string& init_path, bool table_open);
  int add_input(bool table_open);
  int set_output(const std::string& output_path);

  int begin_drawing(const DrawingSetup& setup) override;
  int begin_block(DrawingStream stream, const BlockDef& block) override;
  int end_block(DrawingStream stream) override;
  EntityRef reserve() override;
  int add(DrawingStream stream, const Entity& entity, EntityRef* made) override;
  bool failed() const override { return false; }
  std::string_view failed_file() const override { return {}; }
  long non_finite_reals() const override { return non_finite_; }
  int finish(bool (*cancelled)()) override;
  void discard() override;

  // The session of the drawing (for tests: the database's drawing itself).
  const DwgSession& session() const { return session_; }

 private:
  DbEntityList list_for(DrawingStream stream) const;
  DbHandle layer(std::string_view name);
  DbHandle find_or_add_layer(std::string_view name);
  DbHandle block(std::string_view name);
  void ensure_style(std::string_view name);
  int add_record(DbEntityList list, DbEntity& e, const DbAux* aux, int context);
  void header(const DrawingExtents& extents);
  void tables(const DrawingSetup& setup);
  void remove_private_directory();
  // The private directory and the database's drawing; then the temporary output in it.
  int open_drawing(const std::string& temp_dir, const std::string& init_path, bool table_open);
  int make_temporary_output();

  const ConvSettings& settings_;
  const ReleaseTraits& release_;
  DwgSession session_;
  OutputCommit output_;
  std::string output_path_;
  std::string private_dir_;
  std::unordered_map<std::string, DbHandle> layers_;
  std::unordered_map<std::string, DbHandle> blocks_;
  std::unordered_set<std::string> styles_;
  std::string init_path_;
  bool several_inputs_ = false;  // started with `start`: a merge group's drawing
  bool regapp_registered_ = false;
  std::optional<DrawingExtents> extents_;  // of the inputs so far
  // Blocks the current input defined; one of the same name that an earlier input defined is
  // used as it is and the new definition's entities are dropped.
  std::unordered_set<std::string> input_blocks_;
  std::array<bool, 4> dropping_{};
  // The block open on each stream (blocks are defined one at a time per stream).
  std::array<std::optional<DbEntityList>, 4> open_blocks_{};
  long non_finite_ = 0;
  std::string last_layer_name_ = std::string(1, '\0');  // no layer is named so
  DbHandle last_layer_;
  // The records of the entity being added, kept from entity to entity.
  DbEntity work_;
  DbAux work_aux_;
};

}  // namespace tsn

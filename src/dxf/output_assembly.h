// The files of one DXF text conversion and their assembly into the finished drawing.
//
// The main file (HEADER, TABLES, the release 14 BLOCK_RECORD table) is written under a
// temporary name beside the output; five temporary streams live in a private directory made
// for this conversion under temp_dir:
//   blks.tm~      BLOCKS head, layout, marker, legend, attribute and feature blocks
//   blocks2.tm~   filled-area feature blocks, then the BLOCKS ENDSEC
//   blkrecs.tm~   nothing (copied for its place in the order)
//   entities.tm~  ENTITIES head and every entity except text labels
//   entitie2.tm~  text labels, then the ENTITIES ENDSEC
// The assembly appends them to the main file in the order blkrecs, blks, blocks2, entities,
// entitie2, adds the release 14 OBJECTS section and EOF and patches $HANDSEED; an OutputCommit
// syncs the file and renames it over the output. Until that rename an earlier output file stays
// untouched.
// An output that is a symbolic link is written through: the file is made beside the end of the
// chain of links and renamed over it, so the link stays. A device or FIFO is never replaced:
// the drawing is assembled in the private directory and copied into it at the end.
//
// Call order for the driver:
//   DxfOutputFiles files;
//   files.open(output_path, settings.temp_dir, settings.trace == 1)   -> 0 or 1
//   write_dxf_header(state, files.sink(DxfStream::main), settings, extents, files.handseed())
//   ... TABLES, BLOCKS and entities into files.sink(...) ...
//   files.assemble_dxf(state, cancel)                                 -> 0 or -1
//   files.close(); files.delete_temporary_files();
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dxf/dxf_writer.h"
#include "dxf/group_sink.h"
#include "dxf/header_section.h"
#include "platform/output_commit.h"

namespace tsn {

enum class DxfStream {
  main,           // the output file itself
  blocks,         // "blks.tm~", the first block stream
  blocks2,        // "blocks2.tm~", the second block stream
  block_records,  // "blkrecs.tm~"
  entities,       // "entities.tm~"
  labels,         // "entitie2.tm~", text labels and the ENTITIES ENDSEC
};

// The temporary streams in the order they are opened, and their file names.
inline constexpr std::array<DxfStream, 5> kTemporaryStreams = {
    DxfStream::blocks2, DxfStream::blocks, DxfStream::block_records, DxfStream::entities,
    DxfStream::labels};
const char* temporary_file_name(DxfStream stream);

// Lines copied between two progress reports and cancellation checks.
inline constexpr long kLinesPerReport = 100000;

class DxfOutputFiles {
 public:
  DxfOutputFiles() = default;
  // Releases what is still held: closes the files, removes an output that was never
  // finished, and the private directory unless it is kept. Reports nothing.
  ~DxfOutputFiles();
  DxfOutputFiles(const DxfOutputFiles&) = delete;
  DxfOutputFiles& operator=(const DxfOutputFiles&) = delete;

  // Opens the main file (under a temporary name beside output_path) and the five temporary
  // streams in a new private directory under temp_dir; files of an earlier conversion held by
  // this object are released first. On failure: the beep and message 78 with the path that
  // failed, nothing left behind, 1. Otherwise 0. keep_temporary_files (trace 1) keeps the
  // private directory and its files after the conversion.
  int open(const std::string& output_path, const std::string& temp_dir,
           bool keep_temporary_files);
  bool is_open() const { return opened_; }

  FileGroupSink& sink(DxfStream stream);
  // Filled by write_dxf_header; used by the release 14 $HANDSEED patch.
  HandseedMark& handseed() { return handseed_; }

  const std::string& output_path() const { return output_path_; }
  const std::string& temporary_output_path() const { return commit_.temporary_path(); }
  const std::string& private_directory() const { return private_dir_; }
  std::string temporary_file_path(DxfStream stream) const;

  // The cancel check is asked after every kLinesPerReport lines of the copy and once more
  // before the finished file is put in place (see OutputCommit); true stops the assembly.
  // Finishes the drawing: ENDTAB (release 14) and ENDSEC on the main file, the temporary
  // streams copied in section order, OBJECTS (release 14), EOF, the $HANDSEED patch, and
  // the sync and the rename over the output (or the copy into a device or FIFO). Release 14 is
  // state.r14_text. 0 on success. -1 when the user cancelled or the output could not be put
  // in place, or after a write failure, which is counted in the state with the output's path
  // for the driver to report. On every failure the unfinished output is removed and an
  // earlier output is untouched.
  int assemble_dxf(DxfState& state, const CancelCheck& cancel = {});
  bool assembled() const { return committed_; }

  // Removes the unfinished temporary output (a failed or cancelled conversion); the target
  // is never touched.
  void discard_output();
  // Closes every stream still open without reporting; an unfinished output is removed.
  void close();
  // Removes the five temporary files and the private directory, unless they are kept.
  void delete_temporary_files();

 private:
  int open_files(const std::string& temp_dir);
  void release();
  [[nodiscard]] bool finish_streams();
  int copy_and_finish(DxfState& state, const CancelCheck& cancel);
  int append_streams(int out, const CancelCheck& cancel);
  int patch_handseed(int out, DxfState& state);

  std::string output_path_;
  std::string private_dir_;
  OutputCommit commit_;  // the temporary output (the main file) and its rename or copy
  bool keep_temporary_ = false;
  bool opened_ = false;
  bool committed_ = false;
  HandseedMark handseed_;
  FileGroupSink main_;
  std::array<FileGroupSink, 5> temporary_;  // indexed as kTemporaryStreams
};

}  // namespace tsn

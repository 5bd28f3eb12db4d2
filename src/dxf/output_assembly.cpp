// Opening the files of a DXF text conversion, copying the temporary streams into the main
// file in section order, the OBJECTS section, EOF, the $HANDSEED patch, and putting the
// finished file in place: renamed over a file, copied into a device or FIFO.
#include "dxf/output_assembly.h"

#include <fcntl.h>
#include <unistd.h>

#include <string_view>

#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/temp_files.h"

namespace tsn {
namespace {

// The release 14 OBJECTS section: the root dictionary (19) naming ACAD_GROUP (1A) and
// ACAD_MLINESTYLE (1B); the latter holds the STANDARD multiline style (1C) with two elements
// at offsets 0.5 and -0.5. Fixed text; its handles lie below the first one the counter issues.
constexpr std::string_view kObjectsLines[] = {
    "  0", "SECTION", "  2", "OBJECTS",
    "  0", "DICTIONARY", "  5", "19", "100", "AcDbDictionary",
    "  3", "ACAD_GROUP", "350", "1A", "  3", "ACAD_MLINESTYLE", "350", "1B",
    "  0", "DICTIONARY", "  5", "1A", "102", "{ACAD_REACTORS", "330", "19", "102", "}",
    "100", "AcDbDictionary",
    "  0", "DICTIONARY", "  5", "1B", "102", "{ACAD_REACTORS", "330", "19", "102", "}",
    "100", "AcDbDictionary", "  3", "STANDARD", "350", "1C",
    "  0", "MLINESTYLE", "5", "1C", "102", "{ACAD_REACTORS", "330", "1B", "102", "}",
    "100", "AcDbMlineStyle", "  2", "STANDARD", "70", "0", "3", "", "62", "0",
    "51", "90.0", "52", "90.0", "71", "2",
    "49", "0.5", "62", "256", "  6", "BYLAYER", "49", "-0.5", "62", "256", "  6", "BYLAYER",
    "  0", "ENDSEC"};
static_assert(kHandleSeedStart > 0x1C, "the handle counter never reaches the OBJECTS handles");

// Lines joined with the finished file's CR LF line ends.
std::string crlf_lines(std::string_view text_with_lf) {
  std::string out;
  out.reserve(text_with_lf.size() * 2);
  for (const char c : text_with_lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string objects_section() {
  std::string out;
  for (const std::string_view line : kObjectsLines) out.append(line).append("\r\n");
  return out;
}

std::size_t stream_index(DxfStream stream) {
  for (std::size_t i = 0; i < kTemporaryStreams.size(); ++i) {
    if (kTemporaryStreams[i] == stream) return i;
  }
  return 0;
}

// Message 78 naming the path that failed; 1.
int cannot_open(const std::string& path) {
  report_cannot_open(path);
  return 1;
}

void remove_file(const std::string& path) {
  if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace

const char* temporary_file_name(DxfStream stream) {
  switch (stream) {
    case DxfStream::blocks2:
      return "blocks2.tm~";
    case DxfStream::blocks:
      return "blks.tm~";
    case DxfStream::block_records:
      return "blkrecs.tm~";
    case DxfStream::entities:
      return "entities.tm~";
    case DxfStream::labels:
      return "entitie2.tm~";
    case DxfStream::main:
      break;
  }
  return "";
}

DxfOutputFiles::~DxfOutputFiles() { release(); }

FileGroupSink& DxfOutputFiles::sink(DxfStream stream) {
  if (stream == DxfStream::main) return main_;
  return temporary_[stream_index(stream)];
}

std::string DxfOutputFiles::temporary_file_path(DxfStream stream) const {
  return private_dir_ + temporary_file_name(stream);
}

int DxfOutputFiles::open(const std::string& output_path, const std::string& temp_dir,
                         bool keep_temporary_files) {
  release();
  output_path_ = output_path;
  keep_temporary_ = keep_temporary_files;
  if (open_files(temp_dir) != 0) {
    // Nothing of a conversion that never started stays behind, traced or not.
    keep_temporary_ = false;
    release();
    return 1;
  }
  opened_ = true;
  return 0;
}

// 0, or 1 once message 78 named what failed.
int DxfOutputFiles::open_files(const std::string& temp_dir) {
  // A link is written through to its target; a device or FIFO is written into at the end.
  if (commit_.open(output_path_) != 0) return 1;
  private_dir_ = make_private_directory(temp_dir);
  if (private_dir_.empty()) {
    return cannot_open(with_trailing_separator(temp_dir) +
                       temporary_file_name(kTemporaryStreams[0]));
  }
  // The main file is patched at an offset ($HANDSEED): a device or FIFO gets its drawing
  // assembled in the private directory.
  if (commit_.make_temporary(private_dir_) != 0) return 1;
  if (!main_.open(commit_.temporary_path())) return cannot_open(output_path_);
  for (const DxfStream stream : kTemporaryStreams) {
    if (!sink(stream).open(temporary_file_path(stream))) {
      return cannot_open(temporary_file_path(stream));
    }
    sink(stream).track_lines(kMaxLineLength, kLinesPerReport);
  }
  return 0;
}

void DxfOutputFiles::release() {
  close();
  delete_temporary_files();
  private_dir_.clear();
  handseed_ = {};
  opened_ = false;
  committed_ = false;
}

void DxfOutputFiles::close() {
  if (main_.is_open()) (void)main_.finish();
  for (FileGroupSink& stream : temporary_) {
    if (stream.is_open()) (void)stream.finish();
  }
  if (!committed_) discard_output();
}

void DxfOutputFiles::discard_output() {
  if (committed_) return;
  if (main_.is_open()) (void)main_.finish();
  commit_.discard();
}

void DxfOutputFiles::delete_temporary_files() {
  if (private_dir_.empty() || keep_temporary_) return;
  for (const DxfStream stream : kTemporaryStreams) {
    FileGroupSink& s = sink(stream);
    if (s.is_open()) (void)s.finish();
    remove_file(temporary_file_path(stream));
  }
  ::rmdir(private_dir_.c_str());
  private_dir_.clear();
}

bool DxfOutputFiles::finish_streams() {
  // A stream already finished by its writer counts by the result it had.
  const auto finish = [](FileGroupSink& s) { return s.is_open() ? s.finish() : !s.failed(); };
  bool ok = finish(main_);
  for (FileGroupSink& stream : temporary_) ok = finish(stream) && ok;
  return ok;
}

int DxfOutputFiles::assemble_dxf(DxfState& state, const CancelCheck& cancel) {
  status_write("\nWriting out DXF/DWG entities to file %s ...", output_path_.c_str());
  const int result = opened_ && !committed_ ? copy_and_finish(state, cancel) : -1;
  if (result == 0) return 0;
  discard_output();
  // Left to the driver to report: it names the file and unwinds the conversion.
  if (result == 1 && state.write_failures++ == 0) state.failed_path = output_path_;
  return -1;
}

// 0 finished and in place; 1 a write (or read) failed; -1 cancelled or not put in place.
int DxfOutputFiles::copy_and_finish(DxfState& state, const CancelCheck& cancel) {
  const bool r14 = state.r14_text;
  DxfWriter w{state, &main_};
  if (r14) dxf_write_raw(w, "  0\nENDTAB\n");
  dxf_write_raw(w, std::string(state.sz_pad1) + "0\nENDSEC\n");
  if (!finish_streams()) return 1;

  UniqueFd out(::open(commit_.temporary_path().c_str(), O_RDWR | O_CLOEXEC));
  if (!out.valid() || ::lseek(out.get(), 0, SEEK_END) < 0) return 1;
  if (const int appended = append_streams(out.get(), cancel); appended != 0) return appended;
  if (r14) {
    const std::string objects = objects_section();
    if (!write_all(out.get(), objects.data(), objects.size())) return 1;
  }
  if (!write_all(out.get(), "  0\r\nEOF\r\n", 10)) return 1;
  if (r14) {
    if (const int patched = patch_handseed(out.get(), state); patched != 0) return patched;
  }
  if (!out.close()) return 1;
  if (const int put = commit_.commit(cancel); put != 0) return put;
  committed_ = true;
  return 0;
}

// The streams are appended in runs of kLinesPerReport lines, which their sinks marked while
// writing them (and cut to kMaxLineLength characters); between runs the progress is reported
// and the user may cancel. 0, 1 a write or read failed, -1 cancelled.
int DxfOutputFiles::append_streams(int out, const CancelCheck& cancel) {
  static constexpr DxfStream kCopyOrder[] = {DxfStream::block_records, DxfStream::blocks,
                                             DxfStream::blocks2, DxfStream::entities,
                                             DxfStream::labels};
  long copied = 0;
  long reported = 0;
  const auto report_and_ask = [&] {
    bool report = false;
    while (copied - reported >= kLinesPerReport) {
      reported += kLinesPerReport;
      status_write("\nLine %ld ...", reported);
      report = true;
    }
    return report && cancel_requested(cancel);
  };
  for (const DxfStream stream : kCopyOrder) {
    const FileGroupSink& written = sink(stream);
    UniqueFd source(::open(temporary_file_path(stream).c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.valid()) return 1;
    std::uint64_t from = 0;
    for (const std::uint64_t mark : written.line_marks()) {
      if (!append_file_range(source.get(), from, out, mark - from)) return 1;
      from = mark;
      copied += kLinesPerReport;
      if (report_and_ask()) return -1;
    }
    if (!append_file_range(source.get(), from, out, written.offset() - from)) return 1;
    copied += written.lines() - static_cast<long>(written.line_marks().size()) * kLinesPerReport;
    // A last line without its end still becomes a line.
    if (written.inside_line()) {
      if (!write_all(out, "\r\n", 2)) return 1;
      ++copied;
    }
    if (report_and_ask()) return -1;
  }
  return 0;
}

// The release 14 $HANDSEED placeholder replaced by the next handle. 0, 1 a write failed, -1
// the placeholder is not where the header put it.
int DxfOutputFiles::patch_handseed(int out, DxfState& state) {
  const std::string placeholder = crlf_lines(kHandseedPlaceholder);
  std::string found(placeholder.size(), '\0');
  if (!handseed_.present ||
      ::pread(out, found.data(), found.size(), static_cast<off_t>(handseed_.offset)) !=
          static_cast<ssize_t>(found.size()) ||
      found != placeholder) {
    trace_write("SHOULD NOT HAPPEN: no $HANDSEED placeholder\n");
    return -1;
  }
  const std::string patch = crlf_lines(handseed_text(dxf_new_handle(state)));
  return write_all_at(out, patch.data(), patch.size(), static_cast<long long>(handseed_.offset))
             ? 0
             : 1;
}

}  // namespace tsn

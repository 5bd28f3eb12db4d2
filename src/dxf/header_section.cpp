// The DXF HEADER section: version, product and date comments, code page, extents, limits, fill
// mode and the release 14 handle seed placeholder.
#include "dxf/header_section.h"

#include <charconv>
#include <cmath>

#include "platform/dxf_number.h"
#include "platform/paths.h"
#include "platform/string_table.h"

namespace tsn {
namespace {

static_assert(kHandseedPlaceholder.size() == 4 + 10 + 4 + kHandleTextSize + 1,
              "the placeholder keeps room for exactly one \"%8lX\" handle");

void put_two_digits(std::string& out, int value) {
  if (value < 0 || value > 99) value = 0;
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

// "  9\n<name>\n": the variable name group, always with its code in three columns.
void variable(DxfWriter& w, std::string_view name) { dxf_group(w, 9, name); }

}  // namespace

bool make_extents_finite(DrawingExtents& e) {
  if (std::isfinite(e.xmin) && std::isfinite(e.ymin) && std::isfinite(e.xmax) &&
      std::isfinite(e.ymax)) {
    return true;
  }
  e = DrawingExtents{};
  return false;
}

bool header_is_release14(const ConvSettings& s) { return s.SaveFileType == 0 && s.verDXF == 6; }

std::string header_date_text(const std::tm& date) {
  static constexpr std::string_view kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int wday = date.tm_wday >= 0 && date.tm_wday < 7 ? date.tm_wday : 0;
  const int mon = date.tm_mon >= 0 && date.tm_mon < 12 ? date.tm_mon : 0;
  std::string out;
  out.reserve(32);
  out.append(kDays[wday]).append(" ").append(kMonths[mon]).append(" ");
  put_two_digits(out, date.tm_mday);
  out += ' ';
  put_two_digits(out, date.tm_hour);
  out += ':';
  put_two_digits(out, date.tm_min);
  out += ':';
  put_two_digits(out, date.tm_sec);
  out += ' ';
  char year[16];
  const auto r = std::to_chars(year, year + sizeof year, 1900L + date.tm_year);
  out.append(year, r.ptr).append("\n");
  return out;
}

int write_dxf_header(DxfState& state, FileGroupSink& main, const ConvSettings& s,
                     const DrawingExtents& extents, HandseedMark& mark, const std::tm* date) {
  DxfWriter w{state, &main};
  const bool r14 = header_is_release14(s);
  dxf_reset_handles(state);
  mark = {};

  dxf_group(w, 0, "SECTION");
  dxf_group(w, 2, "HEADER");
  variable(w, "$ACADVER");
  dxf_group(w, 1, r14 ? "AC1014" : "AC1009");

  if (s.No999 == 0) {
    std::string comment = "999\nTESSARYN ";
    comment.append(kProgramVersion).append(" (Rev ").append(kProgramBuild).append(")\n");
    std::tm now_tm{};
    if (date == nullptr) {
      const std::time_t now = std::time(nullptr);
      localtime_r(&now, &now_tm);
      date = &now_tm;
    }
    comment.append("999\n").append(header_date_text(*date));
    dxf_write(w, comment);
  }

  if (!equal_ignoring_case(s.DWGCodePageString, "undefined")) {
    variable(w, "$DWGCODEPAGE");
    dxf_group(w, 3, s.DWGCodePageString);
  }

  variable(w, "$EXTMIN");
  dxf_real_untrimmed(w, 10, extents.xmin);
  dxf_real_untrimmed(w, 20, extents.ymin);
  dxf_real_untrimmed(w, 30, 0.0);
  variable(w, "$EXTMAX");
  dxf_real_untrimmed(w, 10, extents.xmax);
  dxf_real_untrimmed(w, 20, extents.ymax);
  dxf_real_untrimmed(w, 30, 0.0);
  variable(w, "$LIMMIN");
  dxf_real_untrimmed(w, 10, extents.xmin);
  dxf_real_untrimmed(w, 20, extents.ymin);
  variable(w, "$LIMMAX");
  dxf_real_untrimmed(w, 10, extents.xmax);
  dxf_real_untrimmed(w, 20, extents.ymax);
  dxf_write(w, "  9\n$FILLMODE\n 70\n1\n");

  if (r14) {
    dxf_write(w, "  9\n$HANDLING\n 70\n1\n");
    mark.present = true;
    mark.offset = main.offset();
    dxf_write(w, kHandseedPlaceholder);
  }
  dxf_group(w, 0, "ENDSEC");
  return 0;
}

std::string handseed_text(std::uint32_t handle) {
  char digits[kHandleTextSize];
  format_handle(handle, digits);
  std::string text = "  9\n$HANDSEED\n  5\n";
  text.append(digits, kHandleTextSize).append("\n");
  return text;
}

}  // namespace tsn

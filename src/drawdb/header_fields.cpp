// The header variable declarations.
#include "drawdb/header_fields.h"

#include "drawdb/drawing.h"
#include "drawdb/releases.h"

namespace tsn {
namespace {

using V = HeaderValue;
using H = DbHeader;

HeaderVar real(std::string_view n, int code, double H::*m, std::uint8_t r = kAllReleases) {
  return {n, code, V::real, r, m};
}
HeaderVar integer(std::string_view n, int code, int H::*m, std::uint8_t r = kAllReleases) {
  return {n, code, V::integer, r, nullptr, m};
}
HeaderVar text(std::string_view n, int code, std::string H::*m) {
  return {n, code, V::text, kAllReleases, nullptr, nullptr, m};
}
HeaderVar point3(std::string_view n, DbPoint H::*m) {
  return {n, 10, V::point3, kAllReleases, nullptr, nullptr, nullptr, m};
}
HeaderVar point2(std::string_view n, std::array<double, 2> H::*m) {
  return {n, 10, V::point2, kAllReleases, nullptr, nullptr, nullptr, nullptr, m};
}

const std::array<HeaderVar, 32> kVars{{
    {"$ACADVER", 1, V::version, kAllReleases},
    {"$DWGCODEPAGE", 3, V::code_page, kAllReleases, nullptr, &H::code_page},
    point3("$INSBASE", &H::insbase),
    point3("$EXTMIN", &H::extmin),
    point3("$EXTMAX", &H::extmax),
    point2("$LIMMIN", &H::limmin),
    point2("$LIMMAX", &H::limmax),
    point2("$VIEWCTR", &H::view_centre),
    real("$VIEWSIZE", 40, &H::view_size),
    integer("$ORTHOMODE", 70, &H::orthomode),
    integer("$REGENMODE", 70, &H::regenmode),
    integer("$FILLMODE", 70, &H::fillmode),
    integer("$QTEXTMODE", 70, &H::qtextmode),
    integer("$MIRRTEXT", 70, &H::mirrtext),
    real("$LTSCALE", 40, &H::ltscale),
    integer("$ATTMODE", 70, &H::attmode),
    real("$TEXTSIZE", 40, &H::textsize),
    real("$TRACEWID", 40, &H::tracewid),
    text("$TEXTSTYLE", 7, &H::textstyle),
    text("$CLAYER", 8, &H::clayer),
    text("$CELTYPE", 6, &H::celtype),
    integer("$CECOLOR", 62, &H::cecolor),
    integer("$PDMODE", 70, &H::pdmode),
    real("$PDSIZE", 40, &H::pdsize),
    integer("$PLINEGEN", 70, &H::plinegen),
    integer("$PSLTSCALE", 70, &H::psltscale),
    real("$TDCREATE", 40, &H::tdcreate),
    real("$TDUPDATE", 40, &H::tdupdate),
    {"$HANDLING", 70, V::handling, kR12 | kR14},
    {"$HANDSEED", 5, V::handseed, kR14On},
    integer("$MEASUREMENT", 70, &H::measurement, kR14On),
    integer("$INSUNITS", 70, &H::insunits, kR2000),
}};

// Code page names by the number a drawing stores (the file header's code page), from 28 on;
// 31 is GB2312 and 43 UTF-16, which are no Windows ANSI pages.
constexpr std::array<std::string_view, 17> kCodePages{{
    "ANSI_1250", "ANSI_1251", "ANSI_1252", "GB2312", "ANSI_1253", "ANSI_1254", "ANSI_1255",
    "ANSI_1256", "ANSI_1257", "ANSI_874", "ANSI_932", "ANSI_936", "ANSI_949", "ANSI_950",
    "ANSI_1361", "UTF16", "ANSI_1258"}};

}  // namespace

std::span<const HeaderVar> header_vars() { return kVars; }

const HeaderVar* find_header_var(std::string_view name) {
  for (const HeaderVar& v : kVars) {
    if (same_name(v.name, name)) return &v;
  }
  return nullptr;
}

int code_page_index(std::string_view name) {
  for (std::size_t i = 0; i < kCodePages.size(); ++i) {
    if (same_name(kCodePages[i], name)) return static_cast<int>(i) + 28;
  }
  return -1;
}

std::string_view code_page_name(int index) {
  const int i = index - 28;
  if (i < 0 || i >= static_cast<int>(kCodePages.size())) return "ANSI_1252";
  return kCodePages[static_cast<std::size_t>(i)];
}

}  // namespace tsn

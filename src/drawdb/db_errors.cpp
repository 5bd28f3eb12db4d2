// Error texts and the last error of the drawing database.
#include "drawdb/db_errors.h"

#include <array>
#include <utility>

#include "drawdb/drawdb.h"

namespace tsn {
namespace {

int g_last_error = kDbOk;

constexpr std::array<std::pair<int, std::string_view>, 34> kTexts{{
    {kDbOk, "No error"},
    {kErrNotInitialised, "Drawing database not initialised"},
    {kErrInitMissing, "Initialisation file cannot be read"},
    {kErrInitMalformed, "Initialisation file is malformed"},
    {kErrNoDrawing, "No drawing open"},
    {kErrGeneration, "Drawing generation must be 6 or 7"},
    {kErrNoLayer, "Entity refused: no layer"},
    {kErrUnknownType, "Unknown entity type"},
    {kErrNoList, "No such entity list"},
    {kErrListNotOpen, "Data list not open"},
    {kErrNoDataList, "No such data list"},
    {kErrHandleInUse, "Handle already in use"},
    {kErrBadHandle, "Handle was not issued by this drawing"},
    {kErrNoStyle, "Entity refused: no text style"},
    {kErrNoBlock, "No such block"},
    {kErrDuplicateName, "A table record of that name exists"},
    {kErrBadName, "Name is empty or longer than 255 characters"},
    {kErrXdataCode, "Extended data code not supported"},
    {kErrXdataApp, "Extended data must begin with a registered application name"},
    {kErrNoPolyline, "Entity refused: VERTEX or SEQEND without an open polyline"},
    {kErrBadVertexList, "Data list does not hold whole vertices"},
    {kErrNoEntity, "No such entity in the block"},
    {kErrBadLinetype, "Layer refused: no such linetype"},
    {kErrDwg, "DWG output of that release is not written"},
    {kErrRelease, "Release must be 4, 6 or 7"},
    {kErrWrite, "Cannot write file"},
    {kErrLayoutBlock, "Layout blocks cannot be deleted"},
    {kErrHatchPath,
     "Hatch refused: a boundary path needs three vertices, or a circle of positive radius and "
     "no vertices"},
    {kErrNoStyleRecord, "No such text style"},
    {kErrNotText, "Only TEXT, ATTRIB and ATTDEF can be aligned"},
    {kErrBadArgument, "Invalid argument"},
    {kErrNoMemory, "Out of memory"},
    {kErrBadBulges, "Polyline refused: the number of bulges differs from the number of vertices"},
    {kErrTooLarge,
     "The drawing is larger than its release holds (release 12: 65535 blocks, layers, text "
     "styles, line types or applications, 4 GB of file)"},
}};

}  // namespace

int db_fail(int error) {
  g_last_error = error;
  return 0;
}

void db_clear_error() { g_last_error = kDbOk; }

int db_last_error() { return g_last_error; }

std::string_view db_error_text(int number) {
  if (number < 0 || number > kDbLastErrorNumber) return "Error number out of range";
  for (const auto& [n, text] : kTexts) {
    if (n == number) return text;
  }
  return "Unassigned error number";
}

}  // namespace tsn

// Record access shared by dBase and comma-delimited tables: a cursor kept in step with the
// shapefile records, and the text of any field of the current record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "input/dbf_field.h"

namespace tsn {

// Results of begin_record and skip_record besides 0.
inline constexpr int kNoSuchRow = -1;      // past the table's last row; nothing reported
inline constexpr int kRowReadFailed = -2;  // a row the table has could not be read (reported)

class TableReader {
 public:
  virtual ~TableReader() = default;

  virtual const std::vector<dbf_field>& fields() const = 0;
  virtual long record_count() const = 0;

  // Remembers where the current record begins (before each shapefile record).
  virtual void save_record_position() = 0;
  // Returns to the saved position and reads the record: 0, kNoSuchRow past the last row, or
  // kRowReadFailed after reporting the table and the row that could not be read.
  virtual int begin_record() = 0;
  // The text of field i of the record begun (dBase: the field's width of bytes up to the first
  // NUL; comma-delimited: the token, trimmed). Empty for an index out of range. Fields may be
  // read in any order and again; the view stays valid until the next begin_record.
  virtual std::string_view read_field(int i) = 0;
  // Reads past one record so that the table stays in step with a skipped shape; 0, kNoSuchRow
  // or kRowReadFailed (reported), as begin_record.
  virtual int skip_record() = 0;
  // Back to the first record.
  virtual int rewind() = 0;
  // The reader of the file itself, under any reader that converts its text.
  virtual TableReader& underlying() { return *this; }
  virtual const TableReader& underlying() const { return *this; }
};

// The field text as a decimal number by the "%lf" rule; 0 when it does not parse.
double field_value_number(std::string_view text);

struct TableExtents {
  double xmin = 1e30;
  double ymin = 1e30;
  double xmax = -1e30;
  double ymax = -1e30;
  double diagonal = 0.0;  // minimum corner to maximum corner
};

// The extents of the points of a table: X and Y of every record whose two coordinates are
// numbers (read_coordinates); leaves the table at its first record. The indexes are clamped to
// the field list (a missing Y field means field 1). With no record counted the box stays inverted
// (1e30 / -1e30) and the diagonal is 0.
TableExtents table_extents(TableReader& table, int x_field, int y_field);

// The point of the record begun: false (x, y untouched) when either field is blank, does not
// parse as a number, or is infinite or NaN; such a record is not drawn.
bool read_coordinates(TableReader& table, int x_field, int y_field, double& x, double& y);

// The field text as a number by the "%lf" rule; false (value untouched) when it does not parse.
bool parse_field_number(std::string_view text, double& value);

// Chooses two different numeric ('N' or 'F') fields as X and Y of a point table: the one named
// like the key (case-blind), else the first usual name as a whole (EASTING/NORTHING,
// LONGITUDE/LATITUDE, LONG/LAT, LON/LAT, X/Y), else the first name containing one of them. A
// valid index already in x_field / y_field is kept when keep_valid is set (switches /DX, /DY).
// 0, or -1 (both set to -1) after reporting "No X,Y data for this file" with the numeric fields
// and their numbers.
int find_xy_fields(const std::vector<dbf_field>& fields, std::string_view x_key,
                   std::string_view y_key, bool keep_valid, int& x_field, int& y_field);

// The index of the field with this name (case-blind), or -1.
int find_field(const std::vector<dbf_field>& fields, std::string_view name);

// The elevation of the record begun: field elev_field as a number times factor; 0 when the field
// is absent (-1) or does not parse.
double table_elevation(TableReader& table, int elev_field, double factor);

}  // namespace tsn

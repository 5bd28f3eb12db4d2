// What the parts of one binary drawing save share: the drawing, the release, the output
// stream with its object map, the handles and class numbers the save gives out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "drawdb/drawing.h"
#include "drawdb/dwg_object.h"
#include "drawdb/save_progress.h"

namespace tsn::dwg {

// Object type numbers of the format, and the class numbers this writer declares.
enum ObjectType : std::uint16_t {
  kTypeText = 1, kTypeAttrib = 2, kTypeAttdef = 3, kTypeBlock = 4, kTypeEndblk = 5,
  kTypeSeqend = 6, kTypeInsert = 7, kTypeVertex2d = 10, kTypeVertex3d = 11,
  kTypePolyline2d = 15, kTypePolyline3d = 16, kTypeCircle = 18, kTypeLine = 19,
  kTypePoint = 27, kType3dFace = 28, kTypeSolid = 31, kTypeDictionary = 42,
  kTypeBlockControl = 48, kTypeBlockHeader = 49, kTypeLayerControl = 50, kTypeLayer = 51,
  kTypeStyleControl = 52, kTypeStyle = 53, kTypeLtypeControl = 56, kTypeLtype = 57,
  kTypeViewControl = 60, kTypeView = 61, kTypeUcsControl = 62, kTypeUcs = 63,
  kTypeVportControl = 64, kTypeVport = 65,
  kTypeAppidControl = 66, kTypeAppid = 67, kTypeDimstyleControl = 68, kTypeDimstyle = 69,
  kTypeVxControl = 70, kTypeMlinestyle = 73, kTypeLwpolyline = 77, kTypeHatch = 78,
};

struct DwgClass {
  std::uint16_t number;
  std::string_view app, cpp_name, dxf_name;
  bool entity;
};

class DwgSave {
 public:
  DwgSave(const Drawing& d, bool r2000, std::FILE* file);

  const Drawing& d;
  const bool r2000;
  ObjectBuilder object;

  // Handles the save gives to records the drawing does not store (the viewport entity
  // control, and the VERTEX and SEQEND records of stored classic polylines).
  std::uint32_t issue_handle() { return next_handle_++; }
  std::uint32_t handseed() const { return next_handle_; }
  std::uint32_t vx_control = 0;

  // The classes this release declares, and the type number of a class by its DXF name
  // (0 when it has none).
  std::span<const DwgClass> classes() const;
  std::uint16_t class_type(std::string_view dxf_name) const;
  // Type numbers that are fixed in release 2000 and class numbers in release 14.
  std::uint16_t lwpolyline_type() const;
  std::uint16_t hatch_type() const;
  std::uint16_t layout_type() const { return class_type("LAYOUT"); }
  std::uint16_t dictionary_with_default_type() const { return class_type("ACDBDICTIONARYWDFLT"); }
  std::uint16_t placeholder_type() const { return class_type("ACDBPLACEHOLDER"); }

  SaveProgress progress;

  // Finishes the object being built, records it under `handle` in the object map and writes
  // out what has piled up.
  void add_object(std::uint32_t handle);
  // Raw bytes outside the objects (section data); `at` is the file offset they start at.
  std::size_t offset() const { return flushed_ + out_.bytes.size(); }
  void write_bytes(const BitWriter& section);
  // Writes everything pending; false once any write failed.
  bool flush();
  bool failed() const { return failed_; }
  const std::vector<std::pair<std::uint32_t, std::uint32_t>>& object_map() const { return map_; }
  std::FILE* file() const { return file_; }

  // Text in the drawing's code page, as the format stores it.
  std::uint16_t code_page() const;

 private:
  std::FILE* file_;
  BitWriter out_;
  std::size_t flushed_ = 0;
  bool failed_ = false;
  std::uint32_t next_handle_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> map_;  // handle, file offset
  std::vector<DwgClass> classes_;
};

// Calls fn with the position in a block's entity list of each of its top-level entities: all
// but the attributes (and their SEQEND) that follow an INSERT with attributes, which the
// INSERT owns.
template <typename Fn>
void for_each_top_level(const Drawing& d, std::uint32_t block, Fn&& fn) {
  const BlockRec& b = d.blocks[block];
  bool attached = false;
  for (std::size_t i = 0; i < b.entities.size(); ++i) {
    if (b.entities[i] == kNone) continue;
    const EntityRec& rec = d.entities[b.entities[i]];
    if (!attached || (rec.type != kDbAttrib && rec.type != kDbSeqend)) fn(i);
    if (rec.type == kDbInsert) attached = rec.ints[kIntFollow] != 0;
    if (rec.type == kDbSeqend) attached = false;
  }
}
std::vector<std::size_t> top_level_entities(const Drawing& d, std::uint32_t block);
// The first and last live top-level entity of a block (the chain its record points to), as
// handles; 0, 0 for an empty block.
std::pair<std::uint32_t, std::uint32_t> block_entity_range(const Drawing& d, std::uint32_t block);

// The object groups, in file order.
void write_table_objects(DwgSave& s);       // controls, records and block records
void write_dictionary_objects(DwgSave& s);  // dictionaries, styles, layouts, placeholders
void write_block_entities(DwgSave& s);      // every block's BLOCK, entities and ENDBLK

}  // namespace tsn::dwg

// The in-memory drawing: tables, blocks with their entity lists, and compact entity storage.
//
// Storage: one fixed-size EntityRec per entity; its reals (points, heights, scales) sit in the
// drawing's one `reals` array at rec.values, light-weight polyline vertices (2 doubles) and
// classic polyline vertices (3 doubles) at rec.verts, then
// their bulges when rec.bulged; strings are interned once. Hatch parts
// and reactors are kept in side tables addressed by rec.aux; extended data by rec.xdata.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "drawdb/db_records.h"

namespace tsn {

inline constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// Indices of the 16-bit integer slots of an entity record.
enum IntSlot : int { kIntFlags, kIntFollow, kIntHJust, kIntVJust, kIntFieldLength, kIntVertex,
                     kIntSlots };

struct EntityRec {
  std::uint32_t handle = 0;
  std::uint32_t layer = 0;   // index into Drawing::layers
  std::uint32_t values = 0;  // first real in Drawing::reals
  std::uint32_t verts = 0;   // first vertex real in Drawing::reals
  std::uint32_t vertex_count = 0;
  std::uint32_t strings[3] = {kNone, kNone, kNone};  // text 1, tag 2, prompt 3
  std::uint32_t ref = kNone;  // style index (texts) or block index (INSERT)
  std::uint32_t aux = kNone;  // index into Drawing::aux
  std::uint32_t xdata = kNone;  // index into Drawing::xdata_ranges
  std::int16_t ints[kIntSlots] = {};
  std::int16_t colour = 256;
  std::uint8_t type = 0;
  std::uint8_t closed = 0;
  std::uint8_t bulged = 0;  // 1: one bulge per vertex follows the vertices in reals
};

// Every entity pays for one record and one slot in its block's list: keep the record small.
static_assert(sizeof(EntityRec) <= 64, "an entity record fits in one cache line");

// A path of vertex_count line edges, or with vertex_count 0 a circle: centre x, y and radius.
struct HatchPathRec {
  std::uint32_t verts = 0, vertex_count = 0;  // 2 doubles each in reals
  std::uint32_t sources = 0, source_count = 0;  // in refs
};

struct AuxRec {
  std::uint32_t pattern_name = kNone;
  std::uint8_t solid = 0, associative = 0;
  std::uint32_t lines = 0, line_count = 0;  // line families in reals: 6 + dashes each
  std::uint32_t paths = 0, path_count = 0;  // in hatch_paths
  std::uint32_t reactors = 0, reactor_count = 0;  // in refs
};

struct XdataRec {
  std::int16_t code = 0;
  std::uint32_t text = kNone;
  double real = 0.0;
  std::int32_t integer = 0;
};

struct BlockRec {
  std::uint32_t name = kNone;
  int flags = 0;
  DbPoint base{};
  std::uint32_t handle = 0;        // the block record
  std::uint32_t begin_handle = 0;  // BLOCK
  std::uint32_t end_handle = 0;    // ENDBLK
  std::uint32_t layout = 0;        // LAYOUT object of a layout block, else 0
  std::vector<std::uint32_t> entities;  // indices into Drawing::entities; kNone when deleted
  std::uint32_t first_live = 0;
  bool deleted = false;
};

struct LayerRec {
  std::uint32_t name = kNone;
  int colour = 7;
  std::uint32_t linetype = 0;
  int flags = 0;
  std::uint32_t handle = 0;
};

struct LinetypeRec {
  std::string name, description;
  std::vector<double> dashes;
  std::uint32_t handle = 0;
};

struct StyleRec {
  std::string name, font;
  double height = 0.0, width_factor = 1.0;
  int flags = 0;
  std::uint32_t handle = 0;
};

struct RegappRec {
  std::string name;
  int flags = 0;
  std::uint32_t handle = 0;
};

// Handles of the objects every drawing has, issued when it is made.
struct FixedHandles {
  std::uint32_t tables[9] = {};  // indexed by TableId (table_fields.h)
  std::uint32_t dimstyle = 0;
  std::uint32_t vport = 0;
  std::uint32_t root_dictionary = 0, groups = 0, mlinestyles = 0, mlinestyle = 0;
  std::uint32_t layouts = 0, plotstyles = 0, placeholder = 0, plotsettings = 0;
};

// Strings kept once each; ids are stable.
class StringPool {
 public:
  std::uint32_t intern(std::string_view s);
  std::string_view get(std::uint32_t id) const {
    return id == kNone ? std::string_view{} : std::string_view(*strings_[id]);
  }

 private:
  std::unordered_map<std::string, std::uint32_t> ids_;
  std::vector<const std::string*> strings_;
};

struct DataListRec {
  std::vector<std::uint8_t> bytes;
  bool open = false;
};

struct Drawing {
  int generation = 6;
  std::uint32_t next_handle = 1;
  // By handle value: true once a record bears the handle (0 is never issued).
  std::vector<bool> handle_used = {true};
  DbHeader header;
  FixedHandles fixed;
  DbVport vport;
  std::vector<LayerRec> layers;
  std::unordered_map<std::string, std::uint32_t> layer_index;  // upper-case name
  std::vector<LinetypeRec> linetypes;
  std::vector<StyleRec> styles;
  std::vector<RegappRec> regapps;
  std::vector<BlockRec> blocks;  // 0 *MODEL_SPACE, 1 *PAPER_SPACE

  std::vector<EntityRec> entities;
  std::vector<double> reals;
  std::vector<std::uint32_t> refs;  // handle values of hatch sources and reactors
  std::vector<AuxRec> aux;
  std::vector<HatchPathRec> hatch_paths;
  std::vector<XdataRec> xdata;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> xdata_ranges;  // first, count
  StringPool strings;
  std::vector<DataListRec> lists;

  // The classic polyline whose VERTEX records are being collected, and its block.
  std::uint32_t open_polyline = kNone;
  std::uint32_t open_polyline_block = kNone;
  std::vector<double> open_vertices;
  std::vector<double> open_bulges;  // one per collected vertex

  // A new handle; `used` false for one handed to the caller for a record to come.
  std::uint32_t issue_handle(bool used = true);
  std::unordered_map<std::uint32_t, std::uint32_t> layer_by_handle;
  // The live blocks by upper-case name and by record handle.
  std::unordered_map<std::string, std::uint32_t> block_index;
  std::unordered_map<std::uint32_t, std::uint32_t> blocks_by_handle;
};

// Table name comparison: ASCII letters without case.
std::string upper_name(std::string_view name);
bool same_name(std::string_view a, std::string_view b);

// Handles of table records by name (case ignored), 0 when there is none; a text style falls
// back to the first style.
std::uint32_t layer_handle(const Drawing& d, std::string_view name);
std::uint32_t linetype_handle(const Drawing& d, std::string_view name);
std::uint32_t style_handle(const Drawing& d, std::string_view name);
std::uint32_t regapp_handle(const Drawing& d, std::string_view name);

// The VERTEX and SEQEND records a save makes for the stored classic polylines: one for each
// vertex and one for each polyline (each gets a handle from the save).
std::uint32_t polyline_record_count(const Drawing& d);

// The name a block record is saved with: the layout blocks are spelled as each release has them.
std::string_view block_display_name(const Drawing& d, std::uint32_t block, bool r2000);

// The block index of an entity list, or kNone when it names no live block.
std::uint32_t live_block(const Drawing& d, DbEntityList list);
// The block index of a block record handle, or kNone.
std::uint32_t block_by_handle(const Drawing& d, std::uint32_t handle);
// Appends a block record and indexes it by name and handle; forgets a deleted one.
std::uint32_t add_block_record(Drawing& d, BlockRec b);
void forget_block(Drawing& d, std::uint32_t index);
// The length of a line type's pattern: its dash lengths summed without their signs.
double pattern_length(const LinetypeRec& lt);

}  // namespace tsn

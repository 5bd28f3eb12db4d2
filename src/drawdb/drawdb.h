// The drawing database's operations: one in-memory drawing filled through these calls and
// saved as DXF. Every call returns nonzero on success and 0 on failure (then db_last_error
// and db_error_text say why); nothing throws and nothing ends the process.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "drawdb/db_records.h"

namespace tsn {

struct Drawing;  // owned by the database from db_new_drawing to db_close_drawing

using DbErrorHandler = void (*)(int kind);
using DbProgressHandler = void (*)(int percent);

// Database and drawing.
int db_init(std::string_view init_path, int reserved, int* error);
void db_set_error_handler(DbErrorHandler handler);
void db_set_progress_handler(DbProgressHandler handler);
Drawing* db_new_drawing(int generation);  // 6 or 7; null on failure
// kind 1 DXF, kind 0 DWG; release 4 AC1009, 6 AC1014, 7 AC1015.
int adSaveFile(Drawing* d, std::string_view path, int kind, int release, int decimals,
               int three_d);
// The hatches the last save left out: a release 12 drawing holds none.
long db_hatches_left_out();
int db_close_drawing(Drawing* d);
int db_shutdown();
int db_last_error();
std::string_view db_error_text(int number);

// Header.
int db_get_header(Drawing* d, DbHeader& out);
int db_put_header(Drawing* d, const DbHeader& in);
double db_julian_date(int day, int month, int year, int hour, int minute, int second);

// Tables.
int db_first_layer(Drawing* d, DbLayer& out);
int db_find_layer(Drawing* d, std::string_view name, DbHandle& out);
int db_init_layer(Drawing* d, DbLayer& layer);
int db_add_layer(Drawing* d, DbLayer& layer);
int db_init_regapp(Drawing* d, DbRegapp& app);
int db_add_regapp(Drawing* d, DbRegapp& app);
int db_count_styles(Drawing* d);  // the number of text styles (0 only on failure)
int db_next_style(Drawing* d, DbCursor& cursor, DbStyle& out);
int db_replace_style(Drawing* d, const DbStyle& style);  // the style with style.handle
int db_init_style(Drawing* d, DbStyle& style);
int db_add_style(Drawing* d, DbStyle& style);
int db_first_vport(Drawing* d, DbVport& out);
int db_replace_vport(Drawing* d, const DbVport& vport);

// Blocks.
int db_init_blockheader(Drawing* d, DbBlockHeader& block);
int adAddBlockheader(Drawing* d, DbBlockHeader& block);
int adSeekBlockheader(Drawing* d, const DbHandle& handle, DbBlockHeader& out);
int db_find_block(Drawing* d, std::string_view name, DbHandle& out);
int db_block_entities(Drawing* d, const DbHandle& block, DbEntityList& out);
// The next entity of a block: BLOCK first, then its entities in order, ENDBLK last; 0 after.
int db_read_block_entity(Drawing* d, DbEntityList list, DbCursor& cursor, DbEntity& out,
                         DbAux* aux);
int db_delete_entity(Drawing* d, DbEntityList list, const DbHandle& entity);
int db_delete_block(Drawing* d, const DbHandle& block);

// Entities.
int db_init_entity(Drawing* d, DbEntity& entity, DbAux* aux);  // entity.type set first
int db_new_handle(Drawing* d, DbHandle& out);
int db_add_entity(Drawing* d, DbEntityList list, DbEntity& entity, const DbAux* aux);
int db_add_entity_list(Drawing* d, DbEntityList list, DbEntity& entity, const DbAux* aux,
                       DbDataList data);
int db_hatch_type();
int db_lwpolyline_type();

// Data lists.
int db_new_list(Drawing* d, DbDataList& out);
int db_open_list(Drawing* d, DbDataList list);
int db_list_put(Drawing* d, DbDataList list, const void* bytes, std::size_t size);
int db_close_list(Drawing* d, DbDataList list);

// Extended data, appended to the entity record.
int db_put_xdata(DbEntity& entity, int code, std::string_view text);
int db_put_xdata(DbEntity& entity, int code, double real);
int db_put_xdata(DbEntity& entity, int code, long integer);
inline int db_put_xdata(DbEntity& entity, int code, int integer) {
  return db_put_xdata(entity, code, static_cast<long>(integer));
}
// Sets the alignment point (11) of a justified TEXT to its insertion point and estimates the
// start of its base line (10) from the height, the width factor and the number of characters.
int db_align_text(Drawing* d, DbEntity& text);

}  // namespace tsn

// Extended data of a stored entity in the binary form: one block per application.
#pragma once

#include <cstdint>
#include <vector>

#include "drawdb/drawing.h"
#include "drawdb/dwg_object.h"

namespace tsn::dwg {

// Appends to `out` a block for each application (1001) of the entity's extended data, its
// items encoded as the format stores them; items before the first application, and those of an
// application the drawing has not registered, are left out. Release 12 (`r12`) names the
// application (in `appid`) and layers by table index and keeps strings without a code page.
void encode_eed(const Drawing& d, const EntityRec& rec, std::uint16_t code_page,
                std::vector<EedBlock>& out, bool r12 = false);

}  // namespace tsn::dwg

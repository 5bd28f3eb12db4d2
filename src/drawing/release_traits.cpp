// The release table.
#include "drawing/release_traits.h"

namespace tsn {
namespace {

constexpr ReleaseTraits kReleases[] = {
    {4, "AC1009", false, false, false, false, false, "12"},
    {6, "AC1014", true, true, true, true, true, "14"},
    {7, "AC1015", true, true, true, true, true, "2000"},
};

}  // namespace

const ReleaseTraits& release_traits(int verDXF) {
  for (const ReleaseTraits& r : kReleases) {
    if (r.verDXF == verDXF) return r;
  }
  return kReleases[0];
}

}  // namespace tsn

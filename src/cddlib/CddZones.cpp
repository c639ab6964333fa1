// Zone enumeration: walks the diagram with the zone of the path taken so far
// and hands out the zone of every path that ends in the true terminal.

#include "cddlib/CddInternal.h"

#include <memory>
#include <new>
#include <vector>

namespace {

/// One scratch zone per recursion depth.
class ZoneScratch {
public:
  explicit ZoneScratch(unsigned dimension) : dimension_(dimension) {}

  _dbm_* at(std::size_t depth) {
    while (zones_.size() <= depth)
      zones_.push_back(std::make_unique<std::byte[]>(dbm_sizeof(dimension_)));
    return dbm_reserve(zones_[depth].get(), dimension_);
  }

private:
  unsigned dimension_;
  std::vector<std::unique_ptr<std::byte[]>> zones_;
};

/// Visits the true paths of `node` within the closed, non-empty `zone`.
void for_each_zone_rec(const CddState& s, CddNode* node, _dbm_* zone, ZoneScratch& scratch,
                       std::size_t depth, const std::function<void(_dbm_*)>& visit) {
  if (cddIsTerminal(node)) {
    if (node == cddtrue)
      visit(zone);
    return;
  }
  CddNode* regular = cddRegular(node);
  const bool flip = cddIsComplement(node);
  const CddLevelInfo& info = s.levels[regular->level()];
  const CddElement* e = regular->elements();
  const uint32_t n = cddElementCount(regular);
  assert(info.type == 0 && "zones of diagrams with boolean levels are not defined");
  const auto i = unsigned(info.clock1), j = unsigned(info.clock2);
  _dbm_* part = scratch.at(depth);
  int32_t lower = cddMinusInfinity;
  for (uint32_t k = 0; k < n; lower = e[k].bound, ++k) {
    dbm_copy(part, zone);
    dbm_tighten_interval(part, i, j, lower, e[k].bound);
    if (!dbm_is_empty(part))
      for_each_zone_rec(s, cddNotIf(e[k].child, flip), part, scratch, depth + 1, visit);
  }
}

} // namespace

int CddLibrary::forEachZone(CddNode* a, _dbm_* zone, const std::function<void(_dbm_*)>& visit) {
  CddState& s = *state_;
  assert(a && "a diagram that failed to be made has no zones");
  if (dbm_get_size(zone) != s.clocks)
    return cdd_error(s, CddBadDimension);
  if (dbm_is_empty(zone))
    return 0;
  try {
    ZoneScratch scratch(s.clocks);
    for_each_zone_rec(s, a, zone, scratch, 0, visit);
  } catch (const std::bad_alloc&) {
    return cdd_error(s, CddOutOfMemory);
  }
  return 0;
}

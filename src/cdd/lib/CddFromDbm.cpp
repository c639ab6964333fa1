// The diagram of one zone: a chain of nodes, one per level that carries a
// constraint of the zone's minimal constraint set.

#include "cdd/lib/CddInternal.h"
#include "symbolic/dbm/RawBound.h"

#include <new>
#include <utility>
#include <vector>

namespace {

/// Builds the chain bottom up, from the last level to the first.
CddNode* buildChain(_dbm_* dbm, unsigned n, const std::vector<int32_t>& minimal) {
  CddNode* sofar = cddtrue;
  for (std::size_t level = cddLib.levels.size(); level-- > 0;) {
    const CddLevelInfo& info = cddLib.levels[level];
    if (info.type != 0 || unsigned(info.clock1) >= n)
      continue;
    auto i = unsigned(info.clock1), j = unsigned(info.clock2);
    bool upper = minimal[i * n + j] != 0;
    bool lower = minimal[j * n + i] != 0;
    if (!upper && !lower)
      continue;
    std::size_t base = cddLib.stackTop;
    // The lower bound on x_i - x_j is the complement of the bound on x_j - x_i;
    // the conversion is its own inverse.
    bool pushed =
        (!lower || cdd_push(cddfalse, orvela::rawNegateLower(dbm_get_bound(dbm, j, i)))) &&
        cdd_push(sofar, upper ? dbm_get_bound(dbm, i, j) : cddInfinity) &&
        (!upper || cdd_push(cddfalse, cddInfinity));
    sofar = pushed ? cdd_pop_node(uint32_t(level), base) : nullptr;
    if (!sofar)
      return nullptr;
  }
  return sofar;
}

} // namespace

CddNode* cdd_from_dbm(_dbm_* dbm) {
  std::size_t base;
  if (!cdd_begin(base))
    return nullptr;
  unsigned n = dbm_get_size(dbm);
  if (n > cddLib.clocks) {
    cdd_set_error(CddBadDimension);
    return cdd_finish(base, nullptr);
  }
  if (dbm_is_empty(dbm))
    return cddfalse;
  CddNode* result = nullptr;
  try {
    std::vector<int32_t> minimal(std::size_t(n) * n);
    dbm_min(dbm, minimal.data());
    result = buildChain(dbm, n, minimal);
  } catch (const std::bad_alloc&) {
    cdd_set_error(CddOutOfMemory);
  }
  return cdd_finish(base, result);
}

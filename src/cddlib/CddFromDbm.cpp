// The diagram of one zone: a chain of nodes, one per level that carries a
// constraint of the zone's minimal constraint set.

#include "cddlib/CddInternal.h"
#include "dbm/RawBound.h"

#include <new>
#include <utility>
#include <vector>

namespace {

/// Builds the chain bottom up, from the last level to the first.
CddNode* buildChain(CddState& s, _dbm_* dbm, unsigned n, const std::vector<int32_t>& minimal) {
  CddNode* sofar = cddtrue;
  for (std::size_t level = s.levels.size(); level-- > 0;) {
    const CddLevelInfo& info = s.levels[level];
    if (info.type != 0 || unsigned(info.clock1) >= n)
      continue;
    auto i = unsigned(info.clock1), j = unsigned(info.clock2);
    bool upper = minimal[i * n + j] != 0;
    bool lower = minimal[j * n + i] != 0;
    if (!upper && !lower)
      continue;
    std::size_t base = s.stackTop;
    // The lower bound on x_i - x_j is the complement of the bound on x_j - x_i;
    // the conversion is its own inverse.
    bool pushed =
        (!lower || cdd_push(s, cddfalse, orvela::rawNegateLower(dbm_get_bound(dbm, j, i)))) &&
        cdd_push(s, sofar, upper ? dbm_get_bound(dbm, i, j) : cddInfinity) &&
        (!upper || cdd_push(s, cddfalse, cddInfinity));
    sofar = pushed ? cdd_pop_node(s, uint32_t(level), base) : nullptr;
    if (!sofar)
      return nullptr;
  }
  return sofar;
}

} // namespace

cdd CddLibrary::fromDbm(_dbm_* dbm) {
  CddState& s = *state_;
  std::size_t base = cdd_begin(s);
  unsigned n = dbm_get_size(dbm);
  if (n > s.clocks) {
    cdd_set_error(s, CddBadDimension);
    return cdd(*this, cdd_finish(s, base, nullptr));
  }
  if (dbm_is_empty(dbm))
    return cdd(cddfalse);
  CddNode* result = nullptr;
  try {
    std::vector<int32_t> minimal(std::size_t(n) * n);
    dbm_min(dbm, minimal.data());
    result = buildChain(s, dbm, n, minimal);
  } catch (const std::bad_alloc&) {
    cdd_set_error(s, CddOutOfMemory);
  }
  return cdd(*this, cdd_finish(s, base, result));
}

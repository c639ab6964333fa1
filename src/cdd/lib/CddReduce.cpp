// Reduction: walks the diagram with the zone of the path taken so far and
// drops every interval whose zone is empty.

#include "cdd/lib/CddInternal.h"

#include <memory>
#include <new>
#include <utility>

namespace {

/// Scratch zones, one per recursion depth, allocated when first reached.
class ZoneStack {
public:
  explicit ZoneStack(unsigned dimension) : dimension_(dimension) {}

  /// The zone of `depth`, or null (error recorded) when memory is short.
  _dbm_* at(std::size_t depth) {
    try {
      while (zones_.size() <= depth)
        zones_.push_back(std::make_unique<std::byte[]>(dbm_sizeof(dimension_)));
    } catch (const std::bad_alloc&) {
      cdd_set_error(CddOutOfMemory);
      return nullptr;
    }
    return dbm_reserve(zones_[depth].get(), dimension_);
  }

private:
  unsigned dimension_;
  std::vector<std::unique_ptr<std::byte[]>> zones_;
};

/// `node` reduced under the non-empty path zone `zone`, which it closes.
CddNode* reduce_rec(CddNode* node, _dbm_* zone, ZoneStack& zones, std::size_t depth) {
  if (cddIsTerminal(node))
    return node;
  // Reduction only removes paths, so it commutes with negation.
  CddNode* regular = cddRegular(node);
  bool flip = cddIsComplement(node);
  uint32_t hash = dbm_hash(zone);
  if (CddNode* cached = cddLib.relaxCache->lookup(regular, zone, hash))
    return cddNotIf(cached, flip);

  uint32_t level = regular->level();
  const CddLevelInfo& info = cddLib.levels[level];
  const CddElement* e = regular->elements();
  uint32_t n = cddElementCount(regular);
  std::size_t base = cddLib.stackTop;
  auto fail = [base] {
    cddLib.stackTop = base;
    return nullptr;
  };

  if (info.type != 0) {
    for (uint32_t k = 0; k < n; ++k) {
      CddNode* child = reduce_rec(e[k].child, zone, zones, depth + 1);
      if (!child || !cdd_push(child, e[k].bound))
        return fail();
    }
  } else {
    _dbm_* part = zones.at(depth);
    if (!part)
      return fail();
    auto i = unsigned(info.clock1), j = unsigned(info.clock2);
    int32_t lower = cddMinusInfinity;
    bool started = false;
    for (uint32_t k = 0; k < n; lower = e[k].bound, ++k) {
      dbm_copy(part, zone);
      dbm_tighten_interval(part, i, j, lower, e[k].bound);
      if (dbm_is_empty(part)) {
        // The zone's projection on x_i - x_j is one interval: after the first
        // empty part behind a non-empty one, all are empty.
        if (started)
          break;
        continue;
      }
      started = true;
      CddNode* child = reduce_rec(e[k].child, part, zones, depth + 1);
      if (!child || !cdd_push(child, e[k].bound))
        return fail();
    }
    assert(started && "a non-empty zone meets some interval");
    cddLib.stack[cddLib.stackTop - 1].bound = cddInfinity;
  }
  CddNode* result = cdd_pop_node(level, base);
  if (!result)
    return nullptr;
  cddLib.relaxCache->insert(regular, zone, hash, result);
  return cddNotIf(result, flip);
}

} // namespace

CddNode* cdd_reduce(CddNode* a) {
  std::size_t base;
  if (!a || !cdd_begin(base))
    return nullptr;
  if (cddIsTerminal(a))
    return a;
  // Dimension at least 1: a library with boolean levels only still needs a zone.
  unsigned dimension = cddLib.clocks > 0 ? cddLib.clocks : 1;
  cddLib.relaxCache->setDimension(dimension);
  CddNode* result = nullptr;
  try {
    ZoneStack zones(dimension);
    auto whole = std::make_unique<std::byte[]>(dbm_sizeof(dimension));
    _dbm_* top = dbm_blank(dbm_reserve(whole.get(), dimension));
    if (cdd_push(a, 0))
      result = reduce_rec(a, top, zones, 0);
  } catch (const std::bad_alloc&) {
    cdd_set_error(CddOutOfMemory);
  }
  return cdd_finish(base, result);
}

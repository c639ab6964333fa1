// Reduction: walks the diagram with the zone of the path taken so far and
// drops every interval whose zone is empty.

#include "cddlib/CddInternal.h"

#include <memory>
#include <new>
#include <utility>

namespace {

/// Scratch zones, one per recursion depth, allocated when first reached.
class ZoneStack {
public:
  ZoneStack(CddState& s, unsigned dimension) : s_(s), dimension_(dimension) {}

  /// The zone of `depth`, or null (error recorded) when memory is short.
  _dbm_* at(std::size_t depth) {
    try {
      while (zones_.size() <= depth)
        zones_.push_back(std::make_unique<std::byte[]>(dbm_sizeof(dimension_)));
    } catch (const std::bad_alloc&) {
      cdd_set_error(s_, CddOutOfMemory);
      return nullptr;
    }
    return dbm_reserve(zones_[depth].get(), dimension_);
  }

private:
  CddState& s_;
  unsigned dimension_;
  std::vector<std::unique_ptr<std::byte[]>> zones_;
};

/// `node` reduced under the non-empty path zone `zone`, which it closes.
CddNode* reduce_rec(CddState& s, CddNode* node, _dbm_* zone, ZoneStack& zones, std::size_t depth) {
  if (cddIsTerminal(node))
    return node;
  // Reduction only removes paths, so it commutes with negation.
  CddNode* regular = cddRegular(node);
  bool flip = cddIsComplement(node);
  uint32_t hash = dbm_hash(zone);
  if (CddNode* cached = s.relaxCache->lookup(regular, zone, hash))
    return cddNotIf(cached, flip);

  uint32_t level = regular->level();
  const CddLevelInfo& info = s.levels[level];
  const CddElement* e = regular->elements();
  uint32_t n = cddElementCount(regular);
  std::size_t base = s.stackTop;
  auto fail = [&s, base] {
    s.stackTop = base;
    return nullptr;
  };

  if (info.type != 0) {
    for (uint32_t k = 0; k < n; ++k) {
      CddNode* child = reduce_rec(s, e[k].child, zone, zones, depth + 1);
      if (!child || !cdd_push(s, child, e[k].bound))
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
      CddNode* child = reduce_rec(s, e[k].child, part, zones, depth + 1);
      if (!child || !cdd_push(s, child, e[k].bound))
        return fail();
    }
    assert(started && "a non-empty zone meets some interval");
    s.stack[s.stackTop - 1].bound = cddInfinity;
  }
  CddNode* result = cdd_pop_node(s, level, base);
  if (!result)
    return nullptr;
  s.relaxCache->insert(regular, zone, hash, result);
  return cddNotIf(result, flip);
}

} // namespace

cdd CddLibrary::reduce(CddNode* a) {
  if (!a || cddIsTerminal(a))
    return cdd(a);
  CddState& s = *state_;
  std::size_t base = cdd_begin(s);
  // Dimension at least 1: a library with boolean levels only still needs a zone.
  unsigned dimension = s.clocks > 0 ? s.clocks : 1;
  s.relaxCache->setDimension(dimension);
  CddNode* result = nullptr;
  try {
    ZoneStack zones(s, dimension);
    auto whole = std::make_unique<std::byte[]>(dbm_sizeof(dimension));
    _dbm_* top = dbm_blank(dbm_reserve(whole.get(), dimension));
    if (cdd_push(s, a, 0))
      result = reduce_rec(s, a, top, zones, 0);
  } catch (const std::bad_alloc&) {
    cdd_set_error(s, CddOutOfMemory);
  }
  return cdd(*this, cdd_finish(s, base, result));
}

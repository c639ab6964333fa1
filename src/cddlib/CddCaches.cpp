// The apply cache and the relax cache of the reduction.

#include "cddlib/CddInternal.h"

#include <algorithm>
#include <new>

std::size_t CddCache::index(CddNode* a, CddNode* b, int op) const {
  auto k =
      (reinterpret_cast<uintptr_t>(a) + uintptr_t(op)) * 0xc00005u + reinterpret_cast<uintptr_t>(b);
  return (k + (k * 532032u - k) * 8u) % entries_.size();
}

CddNode* CddCache::lookup(CddNode* a, CddNode* b, int op) const {
  const CddCacheEntry& entry = entries_[index(a, b, op)];
  if (entry.result && entry.a == a && entry.b == b && entry.op == uintptr_t(op))
    return entry.result;
  return nullptr;
}

void CddCache::insert(CddNode* a, CddNode* b, int op, CddNode* result) {
  entries_[index(a, b, op)] = CddCacheEntry{result, a, b, uintptr_t(op)};
}

void CddCache::flush() {
  std::fill(entries_.begin(), entries_.end(), CddCacheEntry{nullptr, nullptr, nullptr, 0});
}

// ---------------------------------------------------------------------------

namespace {
/// Memory the relax cache may spend on stored zones.
constexpr std::size_t relaxZoneBudget = 4u << 20;
} // namespace

void CddRelaxCache::setDimension(uint32_t dimension) {
  if (dimension == dimension_ && !entries_.empty())
    return;
  dimension_ = dimension;
  zoneBytes_ = (std::size_t(dbm_sizeof(dimension)) + 7) & ~std::size_t(7);
  std::size_t count =
      std::min(maxEntries_, std::max<std::size_t>(16, relaxZoneBudget / zoneBytes_));
  try {
    entries_.assign(count, Entry{nullptr, nullptr, 0});
    zones_.assign(count * zoneBytes_, std::byte{0});
  } catch (const std::bad_alloc&) {
    // Without memory the cache stays empty and every lookup misses.
    entries_.clear();
    zones_.clear();
    return;
  }
  for (std::size_t k = 0; k < count; ++k)
    dbm_reserve(zoneAt(k), dimension);
}

std::size_t CddRelaxCache::slot(CddNode* node, uint32_t hash) const {
  auto key = (reinterpret_cast<uintptr_t>(node) >> 4) * 0x9e3779b97f4a7c15u ^ hash;
  return key % entries_.size();
}

_dbm_* CddRelaxCache::zoneAt(std::size_t slot) {
  return reinterpret_cast<_dbm_*>(zones_.data() + slot * zoneBytes_);
}

CddNode* CddRelaxCache::lookup(CddNode* node, _dbm_* zone, uint32_t hash) {
  if (entries_.empty())
    return nullptr;
  std::size_t k = slot(node, hash);
  const Entry& entry = entries_[k];
  if (entry.node == node && entry.hash == hash && dbm_relation(zoneAt(k), zone) == DBM_EQUAL)
    return entry.result;
  return nullptr;
}

void CddRelaxCache::insert(CddNode* node, _dbm_* zone, uint32_t hash, CddNode* result) {
  if (entries_.empty())
    return;
  std::size_t k = slot(node, hash);
  entries_[k] = Entry{node, result, hash};
  dbm_copy(zoneAt(k), zone);
}

void CddRelaxCache::flush() {
  std::fill(entries_.begin(), entries_.end(), Entry{nullptr, nullptr, 0});
}

void cdd_flush_caches(CddState& s) {
  if (s.cache)
    s.cache->flush();
  if (s.relaxCache)
    s.relaxCache->flush();
}

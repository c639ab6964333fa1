// Consistency check of the whole diagram heap, for tests and debugging.

#include "cddlib/CddInternal.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace {

std::string fault(const char* what, const void* node, long value = 0) {
  char text[160];
  std::snprintf(text, sizeof text, "%s (node %p, %ld)", what, node, value);
  return text;
}

/// Checks one node's own form; "" when it is canonical.
std::string checkNode(const CddState& s, const CddNode* node, uint32_t level, uint32_t n) {
  if (node->level() != level)
    return fault("node in the table of another level", node, long(node->level()));
  if (node->info & (cddMarkProtected | cddMarkDead))
    return fault("collection mark left set", node);
  if (n < 2)
    return fault("node with fewer than two elements", node, long(n));
  const CddElement* e = node->elements();
  if (cddIsComplement(e[0].child))
    return fault("first child complemented", node);
  for (uint32_t k = 0; k < n; ++k) {
    if (e[k].zero != 0)
      return fault("element padding not zero", node, long(k));
    if (k > 0 && e[k].bound <= e[k - 1].bound)
      return fault("bounds not increasing", node, long(k));
    if (k > 0 && e[k].child == e[k - 1].child)
      return fault("neighbouring elements with equal children", node, long(k));
    if (cddRegular(e[k].child)->level() <= level)
      return fault("child not on a later level", node, long(k));
  }
  if (e[n - 1].bound != cddInfinity)
    return fault("last bound not infinity", node, long(e[n - 1].bound));
  if (s.levels[level].type != 0 && n != 2)
    return fault("boolean node without two elements", node, long(n));
  return "";
}

std::string checkManager(const CddState& s, const CddNodeManager& manager, bool boolean,
                         std::unordered_map<const CddNode*, uint32_t>& parents) {
  std::size_t keysTotal = 0;
  const auto& subtables = manager.subtables();
  for (uint32_t level = 0; level < subtables.size(); ++level) {
    const CddSubtable& sub = subtables[level];
    if (sub.buckets.empty()) {
      if (sub.keys != 0)
        return fault("keys in a table without buckets", nullptr, long(level));
      continue;
    }
    if (level >= s.levels.size() || (s.levels[level].type != 0) != boolean)
      return fault("table of a level of the wrong kind", nullptr, long(level));
    if (sub.buckets.size() != std::size_t(1) << (32 - sub.shift))
      return fault("bucket count does not match the shift", nullptr, long(level));
    std::size_t keys = 0;
    uint32_t n = manager.elements();
    for (uint32_t b = 0; b < sub.buckets.size(); ++b) {
      const CddNode* previous = nullptr;
      for (const CddNode* node = sub.buckets[b]; node; node = node->next) {
        ++keys;
        if (cddManagerOf(node) != &manager)
          return fault("node in the table of a foreign manager", node);
        if (std::string f = checkNode(s, node, level, n); !f.empty())
          return f;
        if (cdd_bucket(sub, node->elements(), n) != b)
          return fault("node in the wrong bucket", node, long(b));
        if (previous &&
            std::memcmp(previous->elements(), node->elements(), n * sizeof(CddElement)) >= 0)
          return fault("chain not strictly sorted (duplicate or disorder)", node, long(b));
        if (!parents.emplace(node, 0).second)
          return fault("node in two chains", node);
        previous = node;
      }
    }
    if (keys != sub.keys)
      return fault("key count differs from the chains", nullptr, long(level));
    keysTotal += keys;
  }
  if (manager.countFreeList() != manager.freeCount())
    return fault("free list length differs from the free count", nullptr,
                 long(manager.freeCount()));
  if (keysTotal != manager.inUse())
    return fault("nodes neither free nor in a table", nullptr, long(manager.inUse() - keysTotal));
  return "";
}

} // namespace

std::string cdd_check_heap(const CddState& s) {
  std::unordered_map<const CddNode*, uint32_t> parents;
  for (uint32_t n = 0; n < s.managers.size(); ++n) {
    if (!s.managers[n])
      continue;
    if (s.managers[n]->elements() != n)
      return fault("manager at the wrong index", nullptr, long(n));
    if (std::string f = checkManager(s, *s.managers[n], false, parents); !f.empty())
      return f;
  }
  if (s.boolManager)
    if (std::string f = checkManager(s, *s.boolManager, true, parents); !f.empty())
      return f;

  for (const auto& [node, count] : parents) {
    uint32_t n = cddElementCount(node);
    for (uint32_t k = 0; k < n; ++k) {
      const CddNode* child = cddRegular(node->elements()[k].child);
      if (cddIsTerminal(child))
        continue;
      auto it = parents.find(child);
      if (it == parents.end())
        return fault("child not in any unique table", node, long(k));
      ++it->second;
    }
  }
  for (const auto& [node, count] : parents)
    if (!infoSaturated(node->info) && node->ref() < count)
      return fault("reference count below the number of parents", node, long(count));
  return "";
}

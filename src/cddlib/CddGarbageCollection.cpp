// Garbage collection: nodes with count 0 that no element list under
// construction reaches go back to their managers, and the children they held
// lose a reference (which may free them in turn).

#include "cddlib/CddInternal.h"

#include <algorithm>

namespace {

template <class Visit> void forEachManager(CddState& s, Visit visit) {
  for (auto& manager : s.managers)
    if (manager)
      visit(*manager);
  if (s.boolManager)
    visit(*s.boolManager);
}

/// Marks `node` and everything below it as reachable from the reference stack.
void protect_rec(CddNode* node) {
  CddNode* regular = cddRegular(node);
  if (cddIsTerminal(regular) || (regular->info & cddMarkProtected))
    return;
  regular->info |= cddMarkProtected;
  uint32_t n = cddElementCount(regular);
  for (uint32_t k = 0; k < n; ++k)
    protect_rec(regular->elements()[k].child);
}

/// Marks the unreferenced, unprotected `node` dead and releases its children;
/// those that drop to 0 die with it.
void kill_rec(CddNode* node) {
  node->info |= cddMarkDead;
  uint32_t n = cddElementCount(node);
  for (uint32_t k = 0; k < n; ++k) {
    CddNode* child = cddRegular(node->elements()[k].child);
    if (cddIsTerminal(child) || infoSaturated(child->info))
      continue;
    assert(child->ref() > 0 && "a child holds fewer references than parents");
    child->info = infoRefDecremented(child->info);
    if (child->ref() == 0 && !(child->info & (cddMarkProtected | cddMarkDead)))
      kill_rec(child);
  }
}

bool dying(const CddNode* node) {
  return node->ref() == 0 && !(node->info & (cddMarkProtected | cddMarkDead));
}

} // namespace

void cdd_gbc(CddState& s) {
  for (std::size_t k = 0; k < s.stackTop; ++k)
    protect_rec(s.stack[k].child);

  forEachManager(s, [](CddNodeManager& manager) {
    for (CddSubtable& sub : manager.subtables())
      for (CddNode* chain : sub.buckets)
        for (CddNode* node = chain; node; node = node->next)
          if (dying(node))
            kill_rec(node);
  });

  // Unlink the dead, clear the marks of the survivors.
  forEachManager(s, [](CddNodeManager& manager) {
    for (CddSubtable& sub : manager.subtables()) {
      for (CddNode*& chain : sub.buckets) {
        CddNode** link = &chain;
        while (CddNode* node = *link) {
          if (node->info & cddMarkDead) {
            *link = node->next;
            --sub.keys;
            manager.give(node);
          } else {
            node->info &= ~cddMarkProtected;
            link = &node->next;
          }
        }
      }
    }
  });
  cdd_flush_caches(s);

  std::size_t nodes = 0, freeNodes = 0;
  forEachManager(s, [&](CddNodeManager& manager) {
    nodes += manager.capacity();
    freeNodes += manager.freeCount();
  });
  // A collection that frees less than a quarter of the heap lets it grow to
  // twice its size before the next one.
  if (freeNodes * 4 < nodes)
    s.gcChunkLimit = std::max(s.gcChunkLimit, 2 * s.chunksOut);
  ++s.gcCount;
}

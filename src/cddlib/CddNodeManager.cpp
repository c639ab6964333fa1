// Node managers: aligned chunks cut into nodes on a free list, and the
// per-level unique tables that make nodes unique.

#include "base/PoolAnnotations.h"
#include "cddlib/CddInternal.h"
#include "dbm/Hash.h"

#include <cstdlib>
#include <cstring>
#include <new>

CddNode* CddNode::create(uint32_t level, const CddElement* elements, uint32_t n, void* memory) {
  assert(reinterpret_cast<uintptr_t>(memory) % alignof(CddNode) == 0 && "misaligned node");
  auto* node = new (memory) CddNode;
  node->next = nullptr;
  node->info = infoMake(level, 0);
  node->unused = 0;
  std::memcpy(node->elements(), elements, n * sizeof(CddElement));
  return node;
}

// ---------------------------------------------------------------------------

CddNodeManager::CddNodeManager(uint32_t elements, std::size_t& chunksOut)
    : elements_(elements), chunksOut_(chunksOut) {
  assert(elements >= 2 && nodesPerChunk() >= 1 && "node size out of range");
}

CddNodeManager::~CddNodeManager() {
  while (chunks_) {
    CddChunk* next = chunks_->next;
    orvela::unpoisonPoolBlock(chunks_, cddChunkBytes);
    std::free(chunks_);
    chunks_ = next;
    --chunksOut_;
  }
}

CddNode* CddNodeManager::take() {
  CddNode* node = freeList_;
  if (!node)
    return nullptr;
  orvela::unpoisonPoolBlock(node, nodeBytes());
  freeList_ = node->next;
  --freeCount_;
  return node;
}

void CddNodeManager::give(CddNode* node) {
  node->next = freeList_;
  freeList_ = node;
  ++freeCount_;
  orvela::poisonPoolBlock(node, nodeBytes());
}

bool CddNodeManager::grow() {
  void* memory = std::aligned_alloc(cddChunkBytes, cddChunkBytes);
  if (!memory)
    return false;
  ++chunksOut_;
  auto* chunk = new (memory) CddChunk{this, chunks_};
  chunks_ = chunk;
  ++chunkCount_;
  // Thread the nodes from the last to the first so that they are handed out
  // in address order.
  auto* first = reinterpret_cast<std::byte*>(chunk + 1);
  for (std::size_t k = nodesPerChunk(); k-- > 0;)
    give(new (first + k * nodeBytes()) CddNode);
  return true;
}

std::size_t CddNodeManager::countFreeList() const {
  std::size_t count = 0;
  for (CddNode* node = freeList_; node;) {
    // Only the link field is opened, and closed again.
    orvela::unpoisonPoolBlock(&node->next, sizeof(void*));
    CddNode* next = node->next;
    orvela::poisonPoolBlock(&node->next, sizeof(void*));
    node = next;
    ++count;
  }
  return count;
}

CddSubtable& CddNodeManager::subtable(uint32_t level) {
  if (level >= subtables_.size())
    subtables_.resize(level + 1);
  return subtables_[level];
}

// ---------------------------------------------------------------------------
// Unique tables.

uint32_t cdd_hash_elements(const CddElement* elements, uint32_t n) {
  return orvela::hash(elements, n * sizeof(CddElement), n);
}

uint32_t cdd_bucket(const CddSubtable& sub, const CddElement* elements, uint32_t n) {
  return cdd_hash_elements(elements, n) >> sub.shift;
}

void cdd_rehash(CddSubtable& sub) {
  std::vector<CddNode*> old;
  std::vector<CddNode**> tails;
  try {
    // Every allocation comes before the table changes, so a refusal leaves
    // the old table whole.
    tails.resize(2 * sub.buckets.size());
    old.swap(sub.buckets);
    sub.buckets.assign(2 * old.size(), nullptr);
  } catch (const std::bad_alloc&) {
    // The table keeps working with longer chains.
    sub.buckets.swap(old);
    return;
  }
  --sub.shift;
  sub.maxKeys *= 2;
  // A new bucket b takes its nodes from old bucket b >> 1 only, so appending
  // in old chain order keeps the new chains sorted.
  for (std::size_t b = 0; b < tails.size(); ++b)
    tails[b] = &sub.buckets[b];
  for (CddNode* chain : old) {
    while (chain) {
      CddNode* next = chain->next;
      uint32_t n = cddManagerOf(chain)->elements();
      uint32_t b = cdd_bucket(sub, chain->elements(), n);
      chain->next = nullptr;
      *tails[b] = chain;
      tails[b] = &chain->next;
      chain = next;
    }
  }
}

namespace {

/// The manager for nodes of `n` elements on `level`, created on first use.
/// Null (error recorded) when the node would be too large or memory is short.
CddNodeManager* managerFor(CddState& s, uint32_t level, uint32_t n) {
  if (s.levels[level].type != 0) {
    assert(n == 2 && "a boolean node has two elements");
    return s.boolManager.get();
  }
  if (n > s.maxsize) {
    cdd_set_error(s, CddNodeTooLarge);
    return nullptr;
  }
  auto& manager = s.managers[n];
  if (!manager) {
    try {
      manager = std::make_unique<CddNodeManager>(n, s.chunksOut);
    } catch (const std::bad_alloc&) {
      cdd_set_error(s, CddOutOfMemory);
      return nullptr;
    }
  }
  return manager.get();
}

/// Position in the sorted chain where the element list belongs: `*link` is
/// either the equal node or the first larger one (or null).
CddNode** findInChain(CddSubtable& sub, const CddElement* elements, uint32_t n) {
  CddNode** link = &sub.buckets[cdd_bucket(sub, elements, n)];
  std::size_t bytes = n * sizeof(CddElement);
  while (*link && std::memcmp((*link)->elements(), elements, bytes) < 0)
    link = &(*link)->next;
  return link;
}

/// A free node of `manager`: collects or grows the heap when the free list is
/// empty. Null (error recorded) when memory is exhausted.
CddNode* allocate(CddState& s, CddNodeManager& manager) {
  bool stress = s.collectOnEveryAllocation;
  if (!stress)
    if (CddNode* node = manager.take())
      return node;
  bool collected = stress || s.chunksOut >= s.gcChunkLimit;
  if (collected)
    cdd_gbc(s);
  // A manager that is still nearly dry grows; when the heap refuses, a
  // collection is the last resort.
  if (manager.freeCount() * 4 < manager.nodesPerChunk() && !manager.grow() && !collected)
    cdd_gbc(s);
  if (CddNode* node = manager.take())
    return node;
  cdd_set_error(s, CddOutOfMemory);
  return nullptr;
}

} // namespace

CddNode* cdd_make_cdd_node(CddState& s, uint32_t level, CddElement* elements, uint32_t n) {
  assert(n >= 1 && elements[n - 1].bound == cddInfinity && "elements must end at infinity");
  // Merge neighbours with equal children.
  uint32_t m = 0;
  for (uint32_t k = 0; k < n; ++k) {
    if (m > 0 && elements[m - 1].child == elements[k].child) {
      elements[m - 1].bound = elements[k].bound;
    } else {
      elements[m] = CddElement{elements[k].child, elements[k].bound, 0};
      ++m;
    }
  }
  if (m == 1)
    return elements[0].child;
  // The first child is stored plain; the flag moves to the returned pointer.
  bool flip = cddIsComplement(elements[0].child);
  if (flip)
    for (uint32_t k = 0; k < m; ++k)
      elements[k].child = cddNot(elements[k].child);

  CddNodeManager* manager = managerFor(s, level, m);
  if (!manager)
    return nullptr;
  CddSubtable& sub = manager->subtable(level);
  if (sub.buckets.empty()) {
    try {
      sub.buckets.assign(std::size_t(1) << (32 - sub.shift), nullptr);
    } catch (const std::bad_alloc&) {
      cdd_set_error(s, CddOutOfMemory);
      return nullptr;
    }
  }
  std::size_t bytes = m * sizeof(CddElement);
  CddNode** link = findInChain(sub, elements, m);
  // A hit with count 0 still holds its children (they are released only by a
  // collection), so returning it revives it completely.
  if (*link && std::memcmp((*link)->elements(), elements, bytes) == 0)
    return cddNotIf(*link, flip);

  int collections = s.gcCount;
  CddNode* memory = allocate(s, *manager);
  if (!memory)
    return nullptr;
  if (collections != s.gcCount)
    link = findInChain(sub, elements, m); // the chain lost its dead nodes
  for (uint32_t k = 0; k < m; ++k)
    cdd_ref(elements[k].child);
  CddNode* node = CddNode::create(level, elements, m, memory);
  node->next = *link;
  *link = node;
  if (++sub.keys > sub.maxKeys)
    cdd_rehash(sub);
  return cddNotIf(node, flip);
}

std::size_t cdd_nodes_in_use(const CddState& s) {
  std::size_t total = s.boolManager ? s.boolManager->inUse() : 0;
  for (const auto& manager : s.managers)
    if (manager)
      total += manager->inUse();
  return total;
}

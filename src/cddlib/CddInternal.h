#pragma once
// Layouts and the state of one diagram library, for its own files and for
// white-box tests. Nothing here is part of the public interface (cdd.h).

#include "cddlib/cdd.h"
#include "dbm/dbm.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Raw bounds (the encoding shared with the DBM library).

inline constexpr int32_t cddInfinity = DBM_INFINITY;
/// Lower end of the first interval of every node.
inline constexpr int32_t cddMinusInfinity = DBM_MINUS_INFINITY;

// ---------------------------------------------------------------------------
// The second word of a node: level in bits 0-19, reference count in bits
// 20-29 (saturating at 1023), two mark bits used by the garbage collector.

inline constexpr uint32_t cddLevelBits = 20;
inline constexpr uint32_t cddLevelMask = (1u << cddLevelBits) - 1;
inline constexpr uint32_t cddRefShift = cddLevelBits;
inline constexpr uint32_t cddRefMax = 1023;
inline constexpr uint32_t cddRefMask = cddRefMax << cddRefShift;
/// Set on nodes reachable from the reference stack during a collection.
inline constexpr uint32_t cddMarkProtected = 1u << 30;
/// Set on nodes a collection is about to reclaim.
inline constexpr uint32_t cddMarkDead = 1u << 31;
/// The terminal's level: below every real level.
inline constexpr uint32_t cddTerminalLevel = cddLevelMask;
/// Largest level a node may have.
inline constexpr uint32_t cddMaxLevel = cddLevelMask - 1;

constexpr uint32_t infoLevel(uint32_t info) { return info & cddLevelMask; }
constexpr uint32_t infoRef(uint32_t info) { return (info & cddRefMask) >> cddRefShift; }
constexpr bool infoSaturated(uint32_t info) { return infoRef(info) == cddRefMax; }
constexpr uint32_t infoMake(uint32_t level, uint32_t ref) {
  return (level & cddLevelMask) | (ref << cddRefShift);
}
/// One more reference, except that a saturated count never changes again.
constexpr uint32_t infoRefIncremented(uint32_t info) {
  return infoSaturated(info) ? info : info + (1u << cddRefShift);
}
/// One reference fewer; saturated counts stay, a zero count is a caller bug.
constexpr uint32_t infoRefDecremented(uint32_t info) {
  return infoSaturated(info) || infoRef(info) == 0 ? info : info - (1u << cddRefShift);
}

static_assert(cddRefMask == 0x3ff00000u && (cddRefMask & cddLevelMask) == 0);
static_assert(((cddMarkProtected | cddMarkDead) & (cddRefMask | cddLevelMask)) == 0);
static_assert(infoRef(infoRefIncremented(infoMake(7, 1022))) == cddRefMax);
static_assert(infoRefIncremented(infoMake(7, cddRefMax)) == infoMake(7, cddRefMax));
static_assert(infoRefDecremented(infoMake(7, cddRefMax)) == infoMake(7, cddRefMax));
static_assert(infoRefDecremented(infoMake(7, 0)) == infoMake(7, 0));
static_assert(infoLevel(infoRefIncremented(infoMake(cddMaxLevel, 5))) == cddMaxLevel);

// ---------------------------------------------------------------------------
// Nodes: one flat block. Word 0 links the node into its unique-table chain (or
// the free list), word 1 holds level, count and marks, and the elements follow:
// a child (complement flag allowed) and the raw upper bound of its interval.
// The element count is not stored: it is the element count of the manager that
// owns the node's chunk.

/// An element of a node. `zero` is always 0 so that element lists compare and
/// hash as plain bytes.
struct CddElement {
  CddNode* child;
  int32_t bound;
  int32_t zero;
};
static_assert(sizeof(CddElement) == sizeof(void*) + 2 * sizeof(int32_t));

struct CddNode {
  /// Bytes of a node with `elements` elements.
  static constexpr std::size_t sizeOf(uint32_t elements) {
    return sizeof(CddNode) + elements * sizeof(CddElement);
  }
  /// Builds a node in `memory` (at least sizeOf(n) bytes) with count 0.
  static CddNode* create(uint32_t level, const CddElement* elements, uint32_t n, void* memory);
  /// Nodes own nothing; a manager takes their memory back.
  static void remove(CddNode*) {}

  CddElement* elements() { return reinterpret_cast<CddElement*>(this + 1); }
  const CddElement* elements() const { return reinterpret_cast<const CddElement*>(this + 1); }
  uint32_t level() const { return infoLevel(info); }
  uint32_t ref() const { return infoRef(info); }

  CddNode* next;
  uint32_t info;
  uint32_t unused;
  // No data members may be added in subclasses: the elements follow at
  // `this + 1`.

protected:
  friend class CddNodeManager;
  CddNode() = default;
};
static_assert(sizeof(CddNode) == sizeof(void*) + 2 * sizeof(uint32_t));
static_assert(sizeof(CddNode) % alignof(CddElement) == 0, "elements must follow aligned");
static_assert(alignof(CddNode) >= 2, "bit 0 of a node pointer carries the complement flag");

// Complement flags on node pointers.

inline bool cddIsComplement(const CddNode* p) { return reinterpret_cast<uintptr_t>(p) & 1; }
inline CddNode* cddRegular(CddNode* p) {
  return reinterpret_cast<CddNode*>(reinterpret_cast<uintptr_t>(p) & ~uintptr_t(1));
}
inline CddNode* cddNot(CddNode* p) {
  return reinterpret_cast<CddNode*>(reinterpret_cast<uintptr_t>(p) ^ 1);
}
/// `p` negated when `flag`.
inline CddNode* cddNotIf(CddNode* p, bool flag) {
  return reinterpret_cast<CddNode*>(reinterpret_cast<uintptr_t>(p) ^ uintptr_t(flag));
}

/// The one terminal node: static storage, level below every real level,
/// count saturated so that references never write to it.
struct CddTerminalNode : CddNode {
  constexpr CddTerminalNode() {
    next = nullptr;
    info = infoMake(cddTerminalLevel, cddRefMax);
    unused = 0;
  }
};
/// Shared by every library: it is never written, so it needs no owner.
extern const CddTerminalNode cddTerminal;
inline bool cddIsTerminal(const CddNode* p) {
  return cddRegular(const_cast<CddNode*>(p)) == &cddTerminal;
}

// ---------------------------------------------------------------------------
// Node managers: one per element count, plus one for boolean nodes. A manager
// cuts 64 KiB chunks, aligned to 64 KiB, into nodes of its size. The chunk
// header names the manager, so a node's element count is found from its
// address.

inline constexpr std::size_t cddChunkBytes = 64 * 1024;

class CddNodeManager;

struct CddChunk {
  CddNodeManager* manager;
  CddChunk* next;
};
static_assert(sizeof(CddChunk) % alignof(CddNode) == 0);

/// The unique table of one level in one manager. Chains are sorted by the byte
/// order of the element lists; bucket = hash >> shift.
struct CddSubtable {
  static constexpr uint32_t initialShift = 24; ///< 256 buckets
  static constexpr uint32_t initialMaxKeys = 1024;

  std::vector<CddNode*> buckets; ///< empty until the level's first node
  uint32_t shift = initialShift;
  uint32_t keys = 0;
  uint32_t maxKeys = initialMaxKeys;
};

class CddNodeManager {
public:
  /// Nodes of `elements` elements; `chunksOut` counts the chunks this manager
  /// holds, together with the other managers of its library.
  CddNodeManager(uint32_t elements, std::size_t& chunksOut);
  ~CddNodeManager();
  CddNodeManager(const CddNodeManager&) = delete;
  CddNodeManager& operator=(const CddNodeManager&) = delete;

  uint32_t elements() const { return elements_; }
  std::size_t nodeBytes() const { return CddNode::sizeOf(elements_); }
  std::size_t nodesPerChunk() const { return (cddChunkBytes - sizeof(CddChunk)) / nodeBytes(); }
  std::size_t capacity() const { return chunkCount_ * nodesPerChunk(); }
  std::size_t freeCount() const { return freeCount_; }
  std::size_t inUse() const { return capacity() - freeCount_; }
  std::size_t chunkCount() const { return chunkCount_; }
  CddChunk* chunks() const { return chunks_; }

  /// A node off the free list, or null when the list is empty.
  CddNode* take();
  /// Returns a node to the free list.
  void give(CddNode* node);
  /// Adds a chunk of free nodes; false when the heap refuses.
  bool grow();
  /// Walks the free list (for the heap check).
  std::size_t countFreeList() const;

  /// The unique table of `level` (created empty on first use; its buckets
  /// are allocated by the caller).
  CddSubtable& subtable(uint32_t level);
  std::vector<CddSubtable>& subtables() { return subtables_; }
  const std::vector<CddSubtable>& subtables() const { return subtables_; }

private:
  uint32_t elements_;
  std::size_t& chunksOut_;
  CddChunk* chunks_ = nullptr;
  std::size_t chunkCount_ = 0;
  CddNode* freeList_ = nullptr;
  std::size_t freeCount_ = 0;
  std::vector<CddSubtable> subtables_;
};

/// The manager of the chunk that holds `node` (a regular, non-terminal node).
inline CddNodeManager* cddManagerOf(const CddNode* node) {
  auto chunk = reinterpret_cast<uintptr_t>(node) & ~uintptr_t(cddChunkBytes - 1);
  return reinterpret_cast<const CddChunk*>(chunk)->manager;
}
/// Elements of a regular node; 0 for the terminal.
inline uint32_t cddElementCount(const CddNode* node) {
  return cddIsTerminal(node) ? 0 : cddManagerOf(node)->elements();
}

// ---------------------------------------------------------------------------
// Caches.

/// Apply cache: entries of result, first operand, second operand, operator.
struct CddCacheEntry {
  CddNode* result;
  CddNode* a;
  CddNode* b;
  uintptr_t op;
};

class CddCache {
public:
  explicit CddCache(std::size_t size)
      : entries_(size, CddCacheEntry{nullptr, nullptr, nullptr, 0}) {}
  /// Slot of (a, b, op), a <= b in pointer order.
  std::size_t index(CddNode* a, CddNode* b, int op) const;
  /// The cached result or null.
  CddNode* lookup(CddNode* a, CddNode* b, int op) const;
  void insert(CddNode* a, CddNode* b, int op, CddNode* result);
  void flush();
  std::size_t size() const { return entries_.size(); }

private:
  std::vector<CddCacheEntry> entries_;
};

/// Relax cache: results of reducing a node under a path zone. Each entry owns
/// a copy of the closed zone it was computed for, so a hit is exact.
class CddRelaxCache {
public:
  explicit CddRelaxCache(std::size_t maxEntries) : maxEntries_(maxEntries) {}
  /// Sizes the zone slots for `dimension` clocks (drops every entry).
  void setDimension(uint32_t dimension);
  /// The reduction of the regular node `node` under the closed, non-empty
  /// `zone` with hash `hash`, or null.
  CddNode* lookup(CddNode* node, _dbm_* zone, uint32_t hash);
  void insert(CddNode* node, _dbm_* zone, uint32_t hash, CddNode* result);
  void flush();

private:
  struct Entry {
    CddNode* node;
    CddNode* result;
    uint32_t hash;
  };
  std::size_t slot(CddNode* node, uint32_t hash) const;
  _dbm_* zoneAt(std::size_t slot);

  std::size_t maxEntries_;
  uint32_t dimension_ = 0;
  std::size_t zoneBytes_ = 0;
  std::vector<Entry> entries_;
  std::vector<std::byte> zones_;
};

// ---------------------------------------------------------------------------
// The state of one library. Every operation works on the state it is given;
// nothing is shared between libraries but the immutable terminal.

struct CddState {
  /// Chunks obtained from the heap and not yet returned; declared before the
  /// managers, which count down into it when they are destroyed.
  std::size_t chunksOut = 0;
  uint32_t maxsize = 0;
  int error = 0;    ///< first error of the current operation, 0 if none
  int reported = 0; ///< last error reported, until `CddLibrary::takeError`
  /// Handles that hold a reference into this library.
  std::size_t handles = 0;

  std::vector<CddLevelInfo> levels;
  std::vector<int32_t> diff2level;
  uint32_t clocks = 0;

  /// managers[n] makes nodes of n elements (index 0 and 1 unused).
  std::vector<std::unique_ptr<CddNodeManager>> managers;
  std::unique_ptr<CddNodeManager> boolManager;

  std::unique_ptr<CddCache> cache;
  std::unique_ptr<CddRelaxCache> relaxCache;

  /// Element lists under construction; every child on it is a collection root.
  std::vector<CddElement> stack;
  std::size_t stackTop = 0;

  /// A manager out of free nodes collects first once the heap holds this many
  /// chunks; raised when a collection frees too little.
  std::size_t gcChunkLimit = 16;
  /// Testing aid: collect before every node allocation, so that each point
  /// where a collection can happen inside an operation is exercised.
  bool collectOnEveryAllocation = false;
  int gcCount = 0; ///< collections so far
};

// ---------------------------------------------------------------------------
// Operations shared by the library's files, each on the state of one library.

/// Writes "CDD Error: <code>" to the standard error stream and keeps the code
/// for `CddLibrary::takeError`; answers `code`.
int cdd_error(CddState& s, int code);

/// Records the first error of the current operation; recursive workers then
/// unwind and answer null.
void cdd_set_error(CddState& s, int code);

/// The unique node for `level` and the element list (merged and brought to
/// canonical form in place, so `elements` must be writable). One element gives
/// its child. The elements' children must be protected from collection: on
/// the reference stack, or referenced. Null after an error.
CddNode* cdd_make_cdd_node(CddState& s, uint32_t level, CddElement* elements, uint32_t n);

/// Starts a public operation: clears the error record and answers the
/// reference-stack height.
std::size_t cdd_begin(CddState& s);

/// Ends a public operation: pops the reference stack to `base` and answers
/// `result`, or null after reporting the error recorded meanwhile.
CddNode* cdd_finish(CddState& s, std::size_t base, CddNode* result);

/// The node for `level` from the elements pushed since `base`, which are
/// popped. Null after an error.
CddNode* cdd_pop_node(CddState& s, uint32_t level, std::size_t base);

/// Pushes an element on the reference stack; false when memory is short.
bool cdd_push(CddState& s, CddNode* child, int32_t bound);

/// Takes one reference on `node` (no-op for the terminal and for saturated
/// counts).
void cdd_ref(CddNode* node);
/// Releases one reference; a node whose count reaches 0 stays in its table
/// with its children until the next collection.
void cdd_rec_deref(CddNode* node);

/// Runs a garbage collection now.
void cdd_gbc(CddState& s);

/// Checks the whole diagram heap: unique nodes in sorted chains of the right
/// bucket, canonical nodes (at least two elements, no equal neighbours, plain
/// first child, increasing bounds ending at infinity), children on later
/// levels, counts at least the number of parents unless saturated, key counts,
/// free lists and clear marks. Answers "" or a description of the first fault.
std::string cdd_check_heap(const CddState& s);

/// Nodes handed out by all managers and not yet reclaimed.
std::size_t cdd_nodes_in_use(const CddState& s);

/// Clears the apply and relax caches; called when nodes are reclaimed.
void cdd_flush_caches(CddState& s);

/// Doubles the buckets of the unique table `sub`; keeps the table as it is
/// when memory is short.
void cdd_rehash(CddSubtable& sub);

/// Jenkins' lookup2 hash of an element list (its bytes, initial value n).
uint32_t cdd_hash_elements(const CddElement* elements, uint32_t n);

/// Bucket of the element list in `sub`.
uint32_t cdd_bucket(const CddSubtable& sub, const CddElement* elements, uint32_t n);

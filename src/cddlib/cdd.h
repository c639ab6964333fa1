#pragma once
// Clock difference diagrams: unions of zones as reduced, shared decision
// diagrams. An internal node tests one clock difference x_i - x_j (a "level")
// against a list of intervals that partition the line; each interval leads to
// a child diagram. A diagram is a pointer to a node whose bit 0 is the
// complement flag: a flagged pointer denotes the negation of the node.
//
// A `CddLibrary` object owns one heap of nodes with its levels, caches and
// error record; destroying it frees every node. Libraries share nothing, so
// two of them may be used from two threads at once; one library is used by
// one thread at a time. Diagrams returned by the operations carry a
// reference in a `cdd` handle, which also names the library so that the
// operators need no other context. A handle must not outlive its library.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

struct _dbm_;
/// Opaque diagram node; a `CddNode*` may carry the complement flag in bit 0.
struct CddNode;
struct CddState;
class cdd;

/// The two terminals: `cddfalse` is the plain terminal, `cddtrue` the
/// terminal with the complement flag. They are immutable and shared by every
/// library.
extern CddNode* const cddfalse;
extern CddNode* const cddtrue;

/// Error codes, as returned (and reported) by the operations.
enum CddErrorCode : int {
  CddOutOfMemory = -1,   ///< the heap refused a chunk, table or cache
  CddBadDimension = -3,  ///< a zone has more clocks than the library knows
  CddTooManyLevels = -4, ///< the 20-bit level field is exhausted
  CddNodeTooLarge = -21, ///< a node would have more elements than the maximal size
};

/// Operators of `cdd_apply`.
enum CddOperator : int {
  CddAnd = 0,
  CddXor = 1,
};

/// One level: `type` 0 for a clock difference `clock1` - `clock2`
/// (clock1 > clock2), otherwise a boolean variable (clocks -1); `diff` is the
/// pair's index clock1·(clock1-1)/2 + clock2 (-1 for a boolean).
struct CddLevelInfo {
  int32_t type;
  int32_t clock1;
  int32_t clock2;
  int32_t diff;
};

/// One diagram heap. Operations answer a handle whose diagram is null after
/// an error, which is then written as "CDD Error: <code>" to the standard
/// error stream and kept for `takeError`.
class CddLibrary {
public:
  /// A library for `clocks` clocks (the reference clock included; see
  /// `addClocks`): nodes of up to `maxsize` elements (at least 2), an apply
  /// cache of `cachesize` entries and a reference stack of `stacksize` entries
  /// (it grows when a deep operation needs more). Throws `std::bad_alloc`
  /// when memory is short and `std::length_error` when the clocks' pairs do
  /// not fit in the level field, both after reporting the code.
  explicit CddLibrary(int clocks, int maxsize = 64, int cachesize = 10000, int stacksize = 10000);
  /// Frees every node, table and cache. No handle of this library may be
  /// alive (asserted in debug builds).
  ~CddLibrary();
  CddLibrary(const CddLibrary&) = delete;
  CddLibrary& operator=(const CddLibrary&) = delete;

  /// Adds `n` clocks, numbered after the existing ones, and one level for
  /// every new pair (i, j), i > j, clock by clock: (1,0), (2,0), (2,1), (3,0),
  /// ... Clock 0 is the reference clock and adds no level. Answers 0 or an
  /// error code (reported).
  int addClocks(int n);
  /// Adds `n` boolean levels after the existing levels. Answers 0 or an error
  /// code (reported).
  int addBooleans(int n);
  /// Number of clocks added so far.
  int clockCount() const;
  /// Number of levels so far.
  int levelCount() const;
  /// The description of `level` (0 <= level < `levelCount()`, asserted).
  CddLevelInfo levelInfo(int level) const;
  /// The level of the clock pair with index i·(i-1)/2 + j, or -1 when that
  /// pair has no level.
  int diffToLevel(int diff) const;

  /// `CddAnd`: conjunction; `CddXor`: exclusive or. Disjunction and
  /// difference come from complement edges: a or b = not(not a and not b),
  /// a minus b = a and not b. Null after reporting an error, and null without
  /// a report when an operand is null.
  cdd apply(CddNode* a, CddNode* b, int op);
  /// The same valuations as `a` with every path whose zone is empty removed,
  /// so that an empty set reduces to `cddfalse`. Null on error (reported) or
  /// for a null operand.
  cdd reduce(CddNode* a);
  /// The diagram of one zone, built from its minimal constraint set. The zone
  /// is closed as a side effect. An empty zone gives `cddfalse`. Null on
  /// error: a dimension above `clockCount()` is `CddBadDimension`.
  cdd fromDbm(_dbm_* dbm);
  /// Calls `visit` with each zone of a partition of `a` ∩ `zone` into
  /// disjoint, closed, non-empty zones: one for every path of `a` to the true
  /// terminal whose intervals meet `zone`. The zone handed to `visit` is
  /// scratch memory, valid during the call. `zone` must have the dimension
  /// `clockCount()` and is closed as a side effect; `a` must not be null and
  /// must have no boolean levels. Answers 0, or reports and answers
  /// `CddBadDimension` or `CddOutOfMemory` (also when `visit` throws
  /// `std::bad_alloc`). Creates no node, so no collection runs meanwhile.
  int forEachZone(CddNode* a, _dbm_* zone, const std::function<void(_dbm_*)>& visit);

  /// The code of the last error reported (0 when none was since the previous
  /// call), which is then forgotten: tells a caller whose operation answered
  /// null or an error code why it failed, in particular whether the heap ran
  /// out (`CddOutOfMemory`).
  int takeError();

  /// The internal state, for the library's own files and white-box tests.
  CddState& state() { return *state_; }

private:
  std::unique_ptr<CddState> state_;
};

/// Counted handle on a diagram. Construction from a node and copying take a
/// reference (counts saturate at 1023 and then stay); destruction and
/// reassignment release it. A handle on an internal node names its library,
/// which must outlive it; terminals and null need no library.
class cdd {
public:
  /// The empty set.
  cdd() noexcept : node_(cddfalse), library_(nullptr) {}
  /// A terminal or null (no diagram); an internal node needs its library.
  cdd(CddNode* node);
  /// Takes a reference on `node` of `library` (null is allowed: no diagram).
  cdd(CddLibrary& library, CddNode* node);
  cdd(const cdd& other);
  cdd(cdd&& other) noexcept;
  ~cdd();
  /// Takes the new reference before releasing the old one.
  cdd& operator=(const cdd& other);
  cdd& operator=(cdd&& other) noexcept;

  /// The diagram, or null when an operation failed to make it.
  CddNode* get() const noexcept { return node_; }
  operator CddNode*() const noexcept { return node_; }
  /// A diagram is not a truth value (`!d` is its negation, another diagram):
  /// compare with `cddfalse` instead.
  explicit operator bool() const = delete;
  /// The library of an internal node; null for terminals and null.
  CddLibrary* library() const noexcept { return library_; }

  /// Negation: the same node with the complement flag flipped.
  cdd operator!() const;
  /// The operators combine diagrams of one library (asserted), or terminals.
  friend cdd operator&(const cdd& a, const cdd& b) { return combine(a, b, CddAnd); }
  friend cdd operator^(const cdd& a, const cdd& b) { return combine(a, b, CddXor); }
  friend cdd operator|(const cdd& a, const cdd& b) { return !combine(!a, !b, CddAnd); }
  friend cdd operator-(const cdd& a, const cdd& b) { return combine(a, !b, CddAnd); }

private:
  /// `a op b` in the library of either operand.
  static cdd combine(const cdd& a, const cdd& b, int op);
  void release() noexcept;

  CddNode* node_;
  CddLibrary* library_; ///< set exactly when a reference is held
};

#pragma once
// Clock difference diagrams: unions of zones as reduced, shared decision
// diagrams. An internal node tests one clock difference x_i - x_j (a "level")
// against a list of intervals that partition the line; each interval leads to
// a child diagram. A diagram is a pointer to a node whose bit 0 is the
// complement flag: a flagged pointer denotes the negation of the node.
//
// The library is process-wide: `cdd_init` starts it, `cdd_done` stops it and
// frees every node. Diagrams returned by the operations carry no reference of
// their own; hold them in a `cdd` handle before the next operation, which may
// collect unreferenced nodes. A handle that outlives `cdd_done` is detached:
// it reads as "no diagram" (null) and releases nothing.

#include <cstdint>
#include <ctime>
#include <functional>

struct _dbm_;
/// Opaque diagram node; a `CddNode*` may carry the complement flag in bit 0.
struct CddNode;

/// The two terminals: `cddfalse` is the plain terminal, `cddtrue` the
/// terminal with the complement flag. They are static and stay valid across
/// restarts of the library.
extern CddNode* const cddfalse;
extern CddNode* const cddtrue;

/// Error codes, as returned (and reported) by the operations.
enum CddErrorCode : int {
  CddOutOfMemory = -1,   ///< the heap refused a chunk, table or cache
  CddNotRunning = -2,    ///< an operation was called before `cdd_init`
  CddBadDimension = -3,  ///< a zone has more clocks than the library knows
  CddTooManyLevels = -4, ///< the 20-bit level field is exhausted
  CddRunning = -5,       ///< `cdd_init` while the library is running
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

/// Figures handed to the handler after a garbage collection.
struct CddGbcStat {
  int num;         ///< collections so far, this one included
  int nodes;       ///< node capacity of all managers
  int freeNodes;   ///< free nodes after the collection
  clock_t time;    ///< processor time of this collection
  clock_t sumTime; ///< processor time of all collections
};

/// Figures handed to the handler after a rehash of one level's unique table.
struct CddRehashStat {
  int num;     ///< rehashes so far, this one included
  int level;   ///< the level whose table grew
  int buckets; ///< bucket count after the rehash
  int keys;    ///< nodes in the table
  int maxKeys; ///< key count that triggers the next rehash
  clock_t time;
  clock_t sumTime;
};

using CddGbcHandler = void (*)(const CddGbcStat*);
using CddRehashHandler = void (*)(const CddRehashStat*);

/// Starts the library: nodes of up to `maxsize` elements (at least 2), an apply
/// cache of `cachesize` entries and a reference stack of `stacksize` entries
/// (it grows when a deep operation needs more). Installs the default handlers.
/// Answers 0, or reports and answers `CddOutOfMemory` or `CddRunning`.
int cdd_init(int maxsize, int cachesize, int stacksize);

/// Stops the library and frees every node, table and cache. Live `cdd`
/// handles are detached (they read as null afterwards). Does nothing when the
/// library is not running.
void cdd_done();

/// Adds `n` clocks, numbered after the existing ones, and one level for every
/// new pair (i, j), i > j, clock by clock: (1,0), (2,0), (2,1), (3,0), ...
/// Clock 0 is the reference clock and adds no level. Answers 0 or an error
/// code (reported).
int cdd_add_clocks(int n);

/// Adds `n` boolean levels after the existing levels. Answers 0 or an error
/// code (reported).
int cdd_add_bddvar(int n);

/// Number of clocks added so far.
int cdd_clocknum();

/// Number of levels so far.
int cdd_varnum();

/// The description of `level` (0 <= level < `cdd_varnum()`, asserted).
CddLevelInfo cdd_levelinfo(int level);

/// The level of the clock pair with index i·(i-1)/2 + j, or -1 when that pair
/// has no level.
int cdd_diff2level(int diff);

/// `CddAnd`: conjunction; `CddXor`: exclusive or. Disjunction and difference
/// come from complement edges: a or b = not(not a and not b), a minus b =
/// a and not b. The result carries no reference. Answers null after reporting
/// an error, and null without a report when an operand is null.
CddNode* cdd_apply(CddNode* a, CddNode* b, int op);

/// The same valuations as `a` with every path whose zone is empty removed, so
/// that an empty set reduces to `cddfalse`. Null on error (reported) or for a
/// null operand.
CddNode* cdd_reduce(CddNode* a);

/// The diagram of one zone, built from its minimal constraint set. The zone
/// is closed as a side effect. An empty zone gives `cddfalse`. Null on error:
/// a dimension above `cdd_clocknum()` is `CddBadDimension`.
CddNode* cdd_from_dbm(_dbm_* dbm);

/// Calls `visit` with each zone of a partition of `a` ∩ `zone` into disjoint,
/// closed, non-empty zones: one for every path of `a` to the true terminal
/// whose intervals meet `zone`. The zone handed to `visit` is scratch memory,
/// valid during the call. `zone` must have the dimension `cdd_clocknum()` and
/// is closed as a side effect; `a` must not be null and must have no boolean
/// levels. Answers 0, or reports and answers `CddNotRunning`,
/// `CddBadDimension` or `CddOutOfMemory` (also when `visit` throws
/// `std::bad_alloc`). Creates no node, so no collection runs meanwhile.
int cdd_for_each_zone(CddNode* a, _dbm_* zone, const std::function<void(_dbm_*)>& visit);

/// Installs the handler called after each garbage collection (null: none) and
/// answers the previous one.
CddGbcHandler cdd_postgbc_hook(CddGbcHandler handler);

/// Installs the handler called after each rehash (null: none) and answers the
/// previous one.
CddRehashHandler cdd_postrehash_hook(CddRehashHandler handler);

/// Writes "CDD Error: <code>" to the standard error stream; answers `code`.
int cdd_error(int code);

/// The code of the last error reported through `cdd_error` (0 when none was
/// since the previous call), which is then forgotten: tells a caller whose
/// operation answered null or an error code why it failed, in particular
/// whether the heap ran out (`CddOutOfMemory`).
int cdd_take_error();

/// Counted handle on a diagram. Construction from a node and copying take a
/// reference (counts saturate at 1023 and then stay); destruction and
/// reassignment release it. A handle whose library run has ended (`cdd_done`)
/// reads as null and releases nothing; terminal handles stay valid.
class cdd {
public:
  /// The empty set.
  cdd() noexcept : node_(cddfalse), run_(0) {}
  /// Takes a reference on `node` (null is allowed: no diagram). A non-terminal
  /// node while the library is stopped cannot be valid: the handle holds null.
  cdd(CddNode* node);
  cdd(const cdd& other);
  cdd(cdd&& other) noexcept;
  ~cdd();
  /// Takes the new reference before releasing the old one.
  cdd& operator=(const cdd& other);
  cdd& operator=(cdd&& other) noexcept;

  /// The diagram, or null when there is none or the library was restarted
  /// since the handle took its reference.
  CddNode* get() const noexcept;
  operator CddNode*() const noexcept { return get(); }
  /// A diagram is not a truth value (`!d` is its negation, another diagram):
  /// compare with `cddfalse` instead.
  explicit operator bool() const = delete;
  /// Whether the handle lost its diagram to a restart of the library.
  bool detached() const noexcept;

  /// Negation: the same node with the complement flag flipped.
  cdd operator!() const;
  friend cdd operator&(const cdd& a, const cdd& b) { return cdd_apply(a, b, CddAnd); }
  friend cdd operator^(const cdd& a, const cdd& b) { return cdd_apply(a, b, CddXor); }
  friend cdd operator|(const cdd& a, const cdd& b) {
    cdd notA = !a, notB = !b;
    return !(notA & notB);
  }
  friend cdd operator-(const cdd& a, const cdd& b) {
    cdd notB = !b;
    return a & notB;
  }

private:
  void release() noexcept;

  CddNode* node_;
  uint32_t run_; ///< library run that issued the reference (0: none taken)
};

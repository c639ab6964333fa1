#pragma once
// Difference-bound matrices with lazy closure, for the decision diagrams.
//
// A DBM of dimension n describes a convex set of valuations of n clocks, clock
// 0 being the reference clock that is always 0; entry (i, j) is a raw upper
// bound on x_i - x_j (symbolic/dbm/RawBound.h: 2c + 1 for <= c, 2c for < c,
// 0x7fffffff for no bound). The caller owns the memory: a DBM is one block of
// dbm_sizeof(n) bytes, 4-byte aligned, reserved by the caller (typically in
// its stack frame) and prepared with dbm_reserve.
//
// Tightenings do not close the matrix at once: they mark the clocks they
// changed, and the next operation that reads closed bounds runs the closure
// engine of the regions (symbolic/dbm/Closure.h) over them. Clock indices are
// below n and are not range-checked.

#include "dbm/RawBound.h"

#include <cstddef>
#include <cstdint>

/// A DBM block; opaque, always handled by pointer.
struct _dbm_;

/// Raw bound of "no bound".
inline constexpr int32_t DBM_INFINITY = 0x7fffffff;
/// Lower bound of an interval that has none.
inline constexpr int32_t DBM_MINUS_INFINITY = -0x7fffffff;

/// The library's names of the answers of dbm_relation(a, b).
inline constexpr orvela::Inclusion DBM_DIFFERENT = orvela::Inclusion::none;
inline constexpr orvela::Inclusion DBM_SUBSET = orvela::Inclusion::subset;
inline constexpr orvela::Inclusion DBM_SUPERSET = orvela::Inclusion::superset;
inline constexpr orvela::Inclusion DBM_EQUAL = orvela::Inclusion::equal;

/// Size in bytes of a DBM of dimension n: (n·n + ⌊(n−1)/32⌋)·4 + 8.
std::size_t dbm_sizeof(unsigned n);
/// Writes the dimension into `memory` (dbm_sizeof(n) bytes, 4-byte aligned)
/// and returns it as a DBM; the bounds are undefined until dbm_init,
/// dbm_blank or dbm_copy.
_dbm_* dbm_reserve(void* memory, unsigned n);

/// The set of all non-negative valuations: row 0 and the diagonal <= 0, every
/// other entry infinity; closed and known non-empty. Returns dbm.
_dbm_* dbm_init(_dbm_* dbm);
/// Every entry infinity, the diagonal included; closed and known non-empty.
/// The start point for building a zone from interval constraints.
_dbm_* dbm_blank(_dbm_* dbm);
/// Copies the whole block of `source` into `destination` (same dimension, taken
/// from the destination). Returns destination.
_dbm_* dbm_copy(_dbm_* destination, const _dbm_* source);

unsigned dbm_get_size(const _dbm_* dbm);
/// Entry (i, j) as stored, whether or not a closure is pending.
int32_t dbm_get_bound(const _dbm_* dbm, unsigned i, unsigned j);
/// Writes entry (i, j) with no bookkeeping at all.
void dbm_fast_set(_dbm_* dbm, unsigned i, unsigned j, int32_t raw);

/// Constrains x_i - x_j by `raw` if that is tighter than the entry (a raw
/// bound of "no bound" changes nothing). A cycle through the opposite entry
/// that becomes negative marks the DBM empty at once; otherwise the closure
/// is deferred.
void dbm_tighten_bound(_dbm_* dbm, unsigned i, unsigned j, int32_t raw);
/// Constrains x_i - x_j to the interval (lower, upper): `upper` as in
/// dbm_tighten_bound, then the complement of `lower` on (j, i). `lower` is a
/// raw bound whose complement is meant (raw (c, strict) means x_i - x_j >= c,
/// raw (c, non-strict) means x_i - x_j > c); DBM_MINUS_INFINITY means none.
void dbm_tighten_interval(_dbm_* dbm, unsigned i, unsigned j, int32_t lower, int32_t upper);

/// Runs the pending closure, if any. An empty DBM is left as it is.
void dbm_close(_dbm_* dbm);
/// True if the DBM describes no valuation; closes it when that is not yet known.
bool dbm_is_empty(_dbm_* dbm);

/// Inclusion of a in b (closes both): `equal`, `subset` (a ⊆ b), `superset`
/// (a ⊇ b) or `none`, also when either is empty or the dimensions differ.
orvela::Inclusion dbm_relation(_dbm_* a, _dbm_* b);

/// Past (weakest pre-condition): lowers every lower bound as far as the
/// differences between clocks allow.
void dbm_wp(_dbm_* dbm);
/// Marks a minimal constraint set of the (closed, non-empty) DBM in `out`, n·n
/// integers: out[i·n + j] is 1 for a kept entry, 0 otherwise.
void dbm_min(_dbm_* dbm, int32_t* out);
/// Hash of the closed matrix (lookup2 over its n·n·4 bytes, initial value
/// 23235).
uint32_t dbm_hash(_dbm_* dbm);

#pragma once
// One symbolic state of the system: a location per process, the integer
// valuation and a region over the clocks. States are created by the million
// during a search, so each is one flat block that can live on the heap, in an
// allocator chunk or in a caller's buffer, optionally together with its
// integer table and its unpacked region.

#include "base/Object.h"
#include "symbolic/IntegerTable.h"
#include "symbolic/PublicState.h"
#include "symbolic/Region.h"
#include "symbolic/UnpackedRegion.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace orvela {

/// Block layout, in order: the `Object` header (vtable pointer, count), the
/// `PublicState` vtable pointer, the process count p, two ownership flags
/// (held in what would be padding), the region pointer, the integer table
/// pointer, the trace identifier, then p 16-bit location indices padded to a
/// whole 32-bit word. The block may go on with the integer table, right after
/// the locations, and the unpacked region, at the next 8-byte boundary after
/// the table. No data member may be added: the sizes below are derived from
/// this layout.
///
/// Ownership: the state owns its region and integer table. A region placed in
/// the block or in caller memory is only destroyed with the state (see
/// `Region::remove`); a table not in the block is a heap table and is freed.
///
/// A state is never destroyed with `delete`: heap states go through `remove`
/// (which `Pointer<GlobalState>` calls), states in caller memory are simply
/// abandoned or passed to `remove`, which then leaves their memory alone. The
/// destructor is private so that `delete` of a `GlobalState*` does not
/// compile; a `delete` through a base pointer reaches a class-specific
/// deallocation function that reports "delete called on GlobalState" and
/// aborts: by then the state is destroyed, and a deallocation function may not
/// throw, so stopping is the only sound answer.
class GlobalState final : public Object, public PublicState {
public:
  // ---------------------------------------------------------------- sizes
  // Every size is in 32-bit words, like the sizes of `IntegerTable` and
  // `UnpackedRegion`; multiply by 4 for bytes.

  /// Words of the header and the locations of a state of p processes.
  static constexpr std::size_t sizeOf(int p) {
    return (sizeof(GlobalState) + std::size_t(p) * sizeof(uint16_t) + 3) / 4;
  }
  /// Words of a state of p processes in one block with a table of `integers`
  /// values and an unpacked region of dimension `clocks` (the reference clock
  /// included). Always even, so that such blocks keep 8-byte alignment.
  static constexpr std::size_t sizeOfUnpacked(int p, int integers, int clocks) {
    return regionOffset(p, integers) + UnpackedRegion::sizeOf(unsigned(clocks));
  }

  // ------------------------------------------------------------- creation

  /// A new heap state of p processes (locations 0), no region, no integer
  /// table, trace identifier -1. Release it with `remove`.
  static GlobalState* create(int p);
  /// The same in caller memory of sizeOf(p) words, 8-byte aligned (asserted),
  /// which stays the caller's; null memory gives null.
  static GlobalState* create(int p, void* memory);
  /// In caller memory of sizeOf(p) + IntegerTable::sizeOf(integers) words,
  /// with a table of `integers` values (unspecified) right after the
  /// locations.
  static GlobalState* create(int p, int integers, void* memory);
  /// In caller memory of sizeOfUnpacked(p, integers, clocks) words, 8-byte
  /// aligned, with a table of `integers` values and an unpacked region of
  /// dimension `clocks` in the block; table values and bounds are unspecified,
  /// the region has no touched clock.
  static GlobalState* createUnpacked(int p, int integers, int clocks, void* memory);
  /// Destroys the state (its heap region and heap table with it) and frees a
  /// heap block; the memory of a state built in caller memory stays the
  /// caller's. Null is ignored.
  static void remove(GlobalState* state);
  /// `remove(this)`: how `Pointer<GlobalState>` releases a state.
  void remove() override;

  GlobalState(const GlobalState&) = delete;

  /// Reports a `delete` through a base pointer and aborts (see the class
  /// comment); never returns.
  static void operator delete(void* memory);

  // ---------------------------------------------------------------- copies
  // Every copy keeps p, the locations and the trace identifier. The heap
  // copies are released with `remove`.

  /// A heap state with a copy of the integer table (in the same block) and
  /// no region.
  GlobalState* discreteCopy() const;
  /// Copies the locations, the integer values and the trace identifier into
  /// `target` (same p, asserted, and an integer table when this has one);
  /// answers target.
  GlobalState* discreteCopy(GlobalState* target) const;
  /// Builds `createUnpacked(p, integer count, region dimension, memory)` and
  /// copies the discrete part into it; the region's bounds are left
  /// unspecified. This state must have a region and a table (asserted).
  GlobalState* discreteCopy(void* memory) const;
  /// A heap state with the locations and the trace identifier only.
  GlobalState* locationCopy() const;
  /// `unpackedCopy()`.
  GlobalState* copy() const;
  /// A heap state with the discrete part and the unpacked form of the region,
  /// all in one block.
  GlobalState* unpackedCopy() const;
  /// `discreteCopy(memory)`, then the region unpacked into the new state's
  /// region.
  GlobalState* unpackedCopy(void* memory) const;
  /// Copies locations, region (`Region::operator=`), integer values and trace
  /// identifier from `other`; p must be equal (asserted). A missing region or
  /// table on either side is skipped.
  GlobalState& operator=(const GlobalState& other);

  // ------------------------------------------------------------ comparison

  /// True if the p locations are equal (p of this state).
  bool equalState(const GlobalState* other) const;
  /// `equalState` and equal integer tables (`IntegerTable::operator==`).
  bool discEqual(const GlobalState* other) const;
  /// Inclusion of this state in `other`: `none` when the discrete parts
  /// differ, otherwise the relation of the regions (both closed). Locations
  /// are compared first, then integers, and only then the zones.
  Inclusion relation(const GlobalState* other) const;

  // ------------------------------------------------------- zone operations

  /// Closes the region; true if it is not empty.
  bool ok();
  /// Delay: the region's `delay()`.
  void delayAction();
  /// The region's answer; false without a region.
  bool isUnbounded() const;

  // --------------------------------------------------------- state view

  int* getIntegerReference() override;
  /// The region's `tightenRaw`; false when the region became empty.
  bool tighten(unsigned int i, unsigned int j, int raw) override;
  /// Clock x := v on the closed unpacked region, which stays closed.
  void reset(unsigned int x, int v) override;
  /// Clock x := x + d on the unpacked region (`UnpackedRegion::offset`).
  void offset(unsigned int x, int d) override;
  int getLocation(unsigned int process) const override { return getLocations()[process]; }
  GlobalState* getGlobalState() override { return this; }

  // ----------------------------------------------------------- accessors

  int getProcessCount() const { return processes_; }
  /// True when `remove` frees the block (it came from the heap).
  bool isHeapBlock() const { return heapBlock_; }
  uint16_t* getLocations() { return reinterpret_cast<uint16_t*>(this + 1); }
  const uint16_t* getLocations() const { return reinterpret_cast<const uint16_t*>(this + 1); }
  void setLocation(unsigned process, int location) {
    assert(process < unsigned(processes_) && "no such process");
    assert(location >= 0 && location <= 0xffff && "location index beyond 16 bits");
    getLocations()[process] = static_cast<uint16_t>(location);
  }

  UnpackedRegion* getRegion() const { return region_; }
  /// The region, which the state must have (asserted).
  UnpackedRegion* getUnpackedRegion() const;
  /// Takes ownership of `region` (heap, caller memory or null); the previous
  /// region is disposed of with `Region::remove`.
  void setRegion(UnpackedRegion* region);
  /// Gives up the region without disposing of it; the state has none after.
  UnpackedRegion* releaseRegion();

  IntegerTable* getIntegerTable() const { return table_; }
  /// Takes ownership of a heap table from `IntegerTable::create` (or null);
  /// the previous table is freed when it was a heap table.
  void setIntegerTable(IntegerTable* table);

  /// The trace-store entry of the state, -1 when it has none.
  int getTraceId() const { return traceId_; }
  void setTraceId(int id) { traceId_ = id; }

private:
  /// Word offset of an in-block region: the end of the table, rounded up to
  /// 8 bytes.
  static constexpr std::size_t regionOffset(int p, int integers) {
    return (sizeOf(p) + std::size_t(IntegerTable::sizeOf(integers)) + 1) / 2 * 2;
  }

  GlobalState(int p, bool heapBlock);
  ~GlobalState() override;

  /// A heap block for a state of `words` words, constructed with p processes.
  static GlobalState* heapState(int p, std::size_t words);
  /// Where an in-block table starts.
  int* tableMemory() { return reinterpret_cast<int*>(this) + sizeOf(processes_); }
  /// Copies p, locations and trace identifier into a fresh heap state of
  /// `words` words, with an in-block table copy when `withTable`.
  GlobalState* discreteHeapCopy(std::size_t words, bool withTable) const;

  int32_t processes_;
  bool heapBlock_ = false; ///< the block came from the heap (`heapState`)
  bool heapTable_ = false; ///< the table is a separate heap table
  UnpackedRegion* region_ = nullptr;
  IntegerTable* table_ = nullptr;
  int32_t traceId_ = -1;
};

static_assert(sizeof(void*) == 8, "the layout below is that of a 64-bit build");
static_assert(alignof(GlobalState) == alignof(void*), "blocks are 8-byte aligned");
static_assert(sizeof(GlobalState) == 56, "header: two vtables, count, p, flags, two pointers, id");
static_assert(sizeof(GlobalState) % alignof(uint16_t) == 0, "locations follow the header");
static_assert(GlobalState::sizeOf(3) == GlobalState::sizeOf(4), "locations pad to a word");

} // namespace orvela

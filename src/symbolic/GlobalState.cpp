#include "symbolic/GlobalState.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace orvela {

namespace {

[[maybe_unused]] bool isBlockAligned(const void* memory) {
  return reinterpret_cast<uintptr_t>(memory) % alignof(GlobalState) == 0;
}

} // namespace

// ------------------------------------------------------------------ creation

GlobalState::GlobalState(int p, bool heapBlock) : processes_(p), heapBlock_(heapBlock) {
  assert(p >= 0 && "negative process count");
  // Zeroed, padding half-word included, so that equal states are equal
  // blocks.
  std::memset(getLocations(), 0, (sizeOf(p) * 4) - sizeof(GlobalState));
}

GlobalState::~GlobalState() {
  Region::remove(region_);
  if (heapTable_)
    IntegerTable::remove(table_);
}

GlobalState* GlobalState::heapState(int p, std::size_t words) {
  void* memory = ::operator new(words * sizeof(int32_t));
  return ::new (memory) GlobalState(p, true);
}

GlobalState* GlobalState::create(int p) { return heapState(p, sizeOf(p)); }

GlobalState* GlobalState::create(int p, void* memory) {
  if (!memory)
    return nullptr;
  assert(isBlockAligned(memory) && "state memory must be 8-byte aligned");
  return ::new (memory) GlobalState(p, false);
}

GlobalState* GlobalState::create(int p, int integers, void* memory) {
  GlobalState* state = create(p, memory);
  if (state)
    state->table_ = IntegerTable::create(integers, false, state->tableMemory());
  return state;
}

GlobalState* GlobalState::createUnpacked(int p, int integers, int clocks, void* memory) {
  GlobalState* state = create(p, integers, memory);
  if (state) {
    int* regionMemory = reinterpret_cast<int*>(state) + regionOffset(p, integers);
    state->region_ = UnpackedRegion::create(clocks, false, regionMemory);
  }
  return state;
}

void GlobalState::remove(GlobalState* state) {
  if (!state)
    return;
  const bool heapBlock = state->heapBlock_;
  state->~GlobalState();
  if (heapBlock)
    ::operator delete(static_cast<void*>(state));
}

void GlobalState::remove() { remove(this); }

// A deallocation function must not throw, and the state is already destroyed
// when it runs: report the misuse and stop.
void GlobalState::operator delete(void*) {
  std::fputs("delete called on GlobalState\n", stderr);
  std::abort();
}

// -------------------------------------------------------------------- copies

GlobalState* GlobalState::discreteHeapCopy(std::size_t words, bool withTable) const {
  GlobalState* copy = heapState(processes_, words);
  std::memcpy(copy->getLocations(), getLocations(), std::size_t(processes_) * sizeof(uint16_t));
  copy->traceId_ = traceId_;
  if (withTable && table_) {
    copy->table_ = IntegerTable::create(table_->getCount(), false, copy->tableMemory());
    *copy->table_ = *table_;
  }
  return copy;
}

GlobalState* GlobalState::discreteCopy() const {
  const std::size_t tableWords = table_ ? IntegerTable::sizeOf(table_->getCount()) : 0;
  return discreteHeapCopy(sizeOf(processes_) + tableWords, true);
}

GlobalState* GlobalState::discreteCopy(GlobalState* target) const {
  assert(target->processes_ == processes_ && "copy between states of different process counts");
  std::memcpy(target->getLocations(), getLocations(), std::size_t(processes_) * sizeof(uint16_t));
  if (table_) {
    assert(target->table_ && "discrete copy into a state without integers");
    *target->table_ = *table_;
  }
  target->traceId_ = traceId_;
  return target;
}

GlobalState* GlobalState::discreteCopy(void* memory) const {
  assert(region_ && table_ && "unpacked copy of a state without region or integers");
  GlobalState* target =
      createUnpacked(processes_, table_->getCount(), int(region_->getDim()), memory);
  return target ? discreteCopy(target) : nullptr;
}

GlobalState* GlobalState::locationCopy() const {
  return discreteHeapCopy(sizeOf(processes_), false);
}

GlobalState* GlobalState::copy() const { return unpackedCopy(); }

GlobalState* GlobalState::unpackedCopy() const {
  if (!region_ || !table_) {
    GlobalState* copy = discreteCopy();
    if (region_) {
      try {
        copy->region_ = region_->unpack();
      } catch (...) {
        remove(copy);
        throw;
      }
    }
    return copy;
  }
  const std::size_t words = sizeOfUnpacked(processes_, table_->getCount(), int(region_->getDim()));
  void* memory = ::operator new(words * sizeof(int32_t));
  GlobalState* copy = unpackedCopy(memory);
  copy->heapBlock_ = true;
  return copy;
}

GlobalState* GlobalState::unpackedCopy(void* memory) const {
  GlobalState* target = discreteCopy(memory);
  if (target)
    region_->unpackTo(target->getUnpackedRegion());
  return target;
}

GlobalState& GlobalState::operator=(const GlobalState& other) {
  assert(other.processes_ == processes_ && "assignment between different process counts");
  if (&other == this)
    return *this;
  std::memcpy(getLocations(), other.getLocations(), std::size_t(processes_) * sizeof(uint16_t));
  if (region_ && other.region_)
    *region_ = *other.region_;
  if (table_ && other.table_)
    *table_ = *other.table_;
  traceId_ = other.traceId_;
  return *this;
}

// ---------------------------------------------------------------- comparison

bool GlobalState::equalState(const GlobalState* other) const {
  const uint16_t* mine = getLocations();
  const uint16_t* theirs = other->getLocations();
  for (int k = 0; k < processes_; ++k)
    if (mine[k] != theirs[k])
      return false;
  return true;
}

bool GlobalState::discEqual(const GlobalState* other) const {
  if (!equalState(other))
    return false;
  if (table_ == other->table_)
    return true;
  return table_ && other->table_ && *table_ == *other->table_;
}

Inclusion GlobalState::relation(const GlobalState* other) const {
  if (!discEqual(other))
    return Inclusion::none;
  assert(region_ && other->region_ && "relation of states without zones");
  return region_->relation(other->region_);
}

// ------------------------------------------------------------ zone operations

UnpackedRegion* GlobalState::getUnpackedRegion() const {
  assert(region_ && "the state has no zone");
  return region_;
}

void GlobalState::setRegion(UnpackedRegion* region) {
  if (region == region_)
    return;
  Region::remove(region_);
  region_ = region;
}

UnpackedRegion* GlobalState::releaseRegion() { return std::exchange(region_, nullptr); }

void GlobalState::setIntegerTable(IntegerTable* table) {
  if (table == table_)
    return;
  if (heapTable_)
    IntegerTable::remove(table_);
  table_ = table;
  heapTable_ = table != nullptr;
}

bool GlobalState::ok() {
  region_->close();
  return !region_->isEmpty();
}

void GlobalState::delayAction() { region_->delay(); }

bool GlobalState::isUnbounded() const { return region_ && region_->isUnbounded(); }

// ---------------------------------------------------------------- state view

int* GlobalState::getIntegerReference() { return table_ ? table_->getValues() : nullptr; }

bool GlobalState::tighten(unsigned int i, unsigned int j, int raw) {
  return region_->tightenRaw(int(i), int(j), raw);
}

void GlobalState::reset(unsigned int x, int v) { getUnpackedRegion()->reset(x, v); }

void GlobalState::offset(unsigned int x, int d) { getUnpackedRegion()->offset(x, d); }

} // namespace orvela

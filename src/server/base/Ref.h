#pragma once
// Non-intrusive counted ownership for shared plain data (names, channel
// records). The counters come from a process-wide pool, `RefCommon`.

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace orvela {

/// Process-wide pool of reference counters. Counters are carved from blocks of
/// `blockBytes` bytes obtained from the C heap and are never returned to it;
/// a released counter goes to a free list and is handed out again first.
/// Under AddressSanitizer, counters that are not handed out are poisoned.
class RefCommon {
public:
  static constexpr std::size_t blockBytes = 4100;

  /// A counter slot. While it is on the free list it holds the link to the
  /// next free slot, so a slot is pointer-sized.
  union Slot {
    int32_t count;
    Slot* next;
  };

  /// Header at the start of each block; the slots follow it.
  struct Block {
    Block* previous;
    int32_t capacity; ///< bytes available for slots
    int32_t used;     ///< bytes handed out so far
    Slot* slots() { return reinterpret_cast<Slot*>(this + 1); }
  };
  static_assert(sizeof(Block) % alignof(Slot) == 0, "slots must follow the header aligned");

  static constexpr int32_t blockCapacity = blockBytes - sizeof(Block);
  static constexpr int32_t countersPerBlock = blockCapacity / sizeof(Slot);
  static_assert(sizeof(Block) + countersPerBlock * sizeof(Slot) <= blockBytes);

  /// A counter set to 1: the head of the free list if any, otherwise the next
  /// slot of the newest block (starting a block first when it is full).
  /// Throws std::bad_alloc when the heap refuses (reported with
  /// `outOfMemoryMessage`).
  static int32_t* getCnt();
  /// Returns a counter to the free list.
  static void freeCnt(int32_t* counter);
  /// Obtains a new block and makes it the newest.
  static void getNewBlock();

  static Block* cntBlocks; ///< newest block, null before the first
  static Slot* freeList;   ///< returned counters
};

/// Shared ownership of a heap object of type T (`new T`, or `new char[]` for
/// the name strings, `Ref<char>`). The object is destroyed and its counter
/// returned to the pool when the last `Ref` goes.
template <class T> class Ref {
public:
  Ref() noexcept = default;
  /// Takes ownership of `owned` (may be null: an empty Ref).
  explicit Ref(T* owned) : object_(owned), count_(owned ? RefCommon::getCnt() : nullptr) {}
  Ref(const Ref& other) noexcept : object_(other.object_), count_(other.count_) {
    if (count_)
      ++*count_;
  }
  Ref(Ref&& other) noexcept
      : object_(std::exchange(other.object_, nullptr)),
        count_(std::exchange(other.count_, nullptr)) {}
  ~Ref() { release(); }

  Ref& operator=(const Ref& other) {
    if (count_ != other.count_) {
      Ref copy(other);
      swap(copy);
    }
    return *this;
  }
  Ref& operator=(Ref&& other) noexcept {
    Ref moved(std::move(other));
    swap(moved);
    return *this;
  }

  T* get() const noexcept { return object_; }
  T* operator->() const noexcept { return object_; }
  T& operator*() const noexcept { return *object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }
  /// Number of Refs sharing the object (0 for an empty Ref).
  int32_t useCount() const noexcept { return count_ ? *count_ : 0; }

private:
  void swap(Ref& other) noexcept {
    std::swap(object_, other.object_);
    std::swap(count_, other.count_);
  }
  void release() noexcept {
    if (count_ && --*count_ == 0) {
      RefCommon::freeCnt(count_);
      if constexpr (std::is_same_v<T, char>)
        delete[] object_;
      else
        delete object_;
    }
    object_ = nullptr;
    count_ = nullptr;
  }

  T* object_ = nullptr;
  int32_t* count_ = nullptr;
};

/// An owned, counted copy of a C string.
Ref<char> refString(const char* text);

} // namespace orvela

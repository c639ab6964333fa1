#pragma once
// Fixed-size block allocators for states: the chunk allocator that a search
// draws all its states from, and the plain heap allocator.

#include "base/Object.h"

#include <cstddef>

namespace orvela {

/// A source of blocks of one fixed size, 8-byte aligned.
class Allocator : public Object {
public:
  /// A block of the allocator's size; its contents are unspecified. Throws
  /// std::bad_alloc when memory is exhausted.
  virtual void* allocate() = 0;
  /// Takes back a block from `allocate` of this allocator.
  virtual void deallocate(void* block) = 0;

  /// Number of blocks handed out and not yet taken back: what a test expects
  /// to be 0 once every state has gone back.
  std::size_t blocksOut() const { return blocksOut_; }

protected:
  std::size_t blocksOut_ = 0;
};

/// Blocks carved from chunks obtained from the heap and recycled through a
/// free list; chunks go back to the heap only with the allocator. The first
/// chunk holds 32 blocks, each further one twice as many words as the one
/// before until a chunk reaches 1048576 words, then the same. Every chunk
/// starts with the link to the next chunk; a free block holds the link to the
/// next free block in its first word. Under AddressSanitizer, blocks not
/// handed out are poisoned, so a use after `deallocate` is reported.
class ChunkAllocator final : public Allocator {
public:
  /// Chunk capacity, in 32-bit words, from which chunks stop growing.
  static constexpr std::size_t maxChunkWords = 1048576;

  /// Blocks of `bytes` bytes rounded up to 8 (a pointer for the free list and
  /// 8-byte alignment for the states placed in them); 0 gives empty blocks,
  /// all at one address, for which `deallocate` does nothing.
  explicit ChunkAllocator(int bytes);
  ChunkAllocator(const ChunkAllocator&) = delete;
  ChunkAllocator& operator=(const ChunkAllocator&) = delete;
  /// Frees every chunk, whether or not its blocks came back.
  ~ChunkAllocator() override;

  void* allocate() override;
  void deallocate(void* block) override;

  /// The block size in bytes.
  std::size_t blockBytes() const { return blockBytes_; }
  /// Number of chunks obtained so far.
  std::size_t chunkCount() const { return chunkCount_; }

private:
  /// The chunk header; the blocks follow it.
  struct Chunk {
    Chunk* next;
    std::size_t blocks; ///< capacity in blocks
    char* blocksStart() { return reinterpret_cast<char*>(this + 1); }
  };
  static_assert(sizeof(Chunk) % 8 == 0, "blocks follow the chunk header 8-byte aligned");
  struct FreeBlock {
    FreeBlock* next;
  };

  /// Appends a chunk of `blocks` blocks and makes it the current one.
  void newChunk(std::size_t blocks);

  std::size_t blockBytes_;
  Chunk* first_ = nullptr;
  Chunk* current_ = nullptr;
  std::size_t carved_ = 0; ///< blocks carved from the current chunk
  std::size_t chunkCount_ = 0;
  FreeBlock* free_ = nullptr;
};

/// A new chunk allocator for blocks of `bytes` bytes, with count 0.
Allocator* createChunkAllocator(int bytes);

/// Destroys and frees an allocator that no `Pointer` holds; null is ignored.
void delete_allocator(Allocator* allocator);

} // namespace orvela

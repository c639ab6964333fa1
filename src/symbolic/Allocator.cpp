#include "symbolic/Allocator.h"

#include "base/PoolAnnotations.h"

#include <cassert>
#include <new>

namespace orvela {

namespace {

constexpr std::size_t firstChunkBlocks = 32;

} // namespace

// ------------------------------------------------------------ chunk allocator

ChunkAllocator::ChunkAllocator(int bytes)
    : blockBytes_((std::size_t(bytes > 0 ? bytes : 0) + 7) / 8 * 8) {}

ChunkAllocator::~ChunkAllocator() {
  while (first_) {
    Chunk* next = first_->next;
    unpoisonPoolBlock(first_, sizeof(Chunk) + first_->blocks * blockBytes_);
    ::operator delete(static_cast<void*>(first_));
    first_ = next;
  }
}

void ChunkAllocator::newChunk(std::size_t blocks) {
  const std::size_t bytes = sizeof(Chunk) + blocks * blockBytes_;
  auto* chunk = static_cast<Chunk*>(::operator new(bytes));
  chunk->next = nullptr;
  chunk->blocks = blocks;
  poisonPoolBlock(chunk->blocksStart(), blocks * blockBytes_);
  if (current_)
    current_->next = chunk;
  else
    first_ = chunk;
  current_ = chunk;
  carved_ = 0;
  ++chunkCount_;
}

void* ChunkAllocator::allocate() {
  if (blockBytes_ == 0) {
    if (!first_)
      newChunk(firstChunkBlocks);
    ++blocksOut_;
    return first_->blocksStart();
  }
  void* block;
  if (free_) {
    block = free_;
    unpoisonPoolBlock(block, blockBytes_);
    free_ = free_->next;
  } else {
    if (!current_) {
      newChunk(firstChunkBlocks);
    } else if (carved_ == current_->blocks) {
      const std::size_t words = current_->blocks * blockBytes_ / 4;
      newChunk(words < maxChunkWords ? 2 * current_->blocks : current_->blocks);
    }
    block = current_->blocksStart() + carved_ * blockBytes_;
    ++carved_;
    unpoisonPoolBlock(block, blockBytes_);
  }
  ++blocksOut_;
  return block;
}

void ChunkAllocator::deallocate(void* block) {
  assert(block && blocksOut_ > 0 && "deallocation of a block that was not handed out");
  --blocksOut_;
  if (blockBytes_ == 0)
    return;
  auto* freed = static_cast<FreeBlock*>(block);
  freed->next = free_;
  free_ = freed;
  poisonPoolBlock(block, blockBytes_);
}

Allocator* createChunkAllocator(int bytes) { return new ChunkAllocator(bytes); }

void delete_allocator(Allocator* allocator) { delete allocator; }

} // namespace orvela

#include "server/base/Ref.h"

#include "server/base/PoolAnnotations.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace orvela {

RefCommon::Block* RefCommon::cntBlocks = nullptr;
RefCommon::Slot* RefCommon::freeList = nullptr;

void RefCommon::getNewBlock() {
  void* memory = std::malloc(blockBytes);
  if (!memory)
    throw std::bad_alloc(); // reported as memory exhaustion, like every other
  auto* block = static_cast<Block*>(memory);
  block->previous = cntBlocks;
  block->capacity = blockCapacity;
  block->used = 0;
  poisonPoolBlock(block->slots(), blockCapacity); // unused until carved
  cntBlocks = block;
}

int32_t* RefCommon::getCnt() {
  Slot* slot;
  if (freeList) {
    slot = freeList;
    unpoisonPoolBlock(slot, sizeof(Slot));
    freeList = slot->next;
  } else {
    if (!cntBlocks || cntBlocks->capacity - cntBlocks->used < static_cast<int32_t>(sizeof(Slot)))
      getNewBlock();
    slot = cntBlocks->slots() + cntBlocks->used / sizeof(Slot);
    cntBlocks->used += sizeof(Slot);
    unpoisonPoolBlock(slot, sizeof(Slot));
  }
  slot->count = 1;
  return &slot->count;
}

void RefCommon::freeCnt(int32_t* counter) {
  auto* slot = reinterpret_cast<Slot*>(counter);
  slot->next = freeList;
  freeList = slot;
  poisonPoolBlock(slot, sizeof(Slot)); // a Ref that outlived its counter is reported
}

Ref<char> refString(const char* text) {
  const std::size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return Ref<char>(copy);
}

} // namespace orvela

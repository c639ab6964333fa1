#include "checkers/BackFrontFilter.h"

#include "pwlist/WaitingStateFilters.h"
#include "symbolic/GlobalStateReference.h"

namespace orvela {

BackFrontFilter::BackFrontFilter(const Pointer<System>& system, FrontStack& path,
                                 std::vector<PathStep>& pending, const Pointer<PWList>& passed,
                                 const Pointer<Allocator>& allocator, StorageReduction reduction)
    : converter_(createSuccessorToWaitingStateFilter(system, reduction)), path_(path),
      pending_(pending), passed_(passed), allocator_(allocator) {
  converter_->setSink(passed_.get());
}

bool BackFrontFilter::tryPut(void* item) {
  pending_.emplace_back(*static_cast<MoveSuccessor*>(item));
  return true;
}

bool BackFrontFilter::covered(const PathStep& step) {
  Successor successor = step.successor;
  converter_->tryPut(&successor);
  GlobalStateReference* reference;
  if (!passed_->tryGet(&reference))
    return true;
  reference->release(true);
  return false;
}

void BackFrontFilter::finishTop() {
  PathStep step = path_.pop();
  converter_->tryPut(&step.successor);
  GlobalStateReference* reference;
  if (passed_->tryGet(&reference))
    reference->release(!reference->getFlag());
  allocator_->deallocate(step.successor.state);
}

bool BackFrontFilter::tryGet(void* out) {
  for (;;) {
    while (!path_.empty() && path_.top()->mark == pending_.size())
      finishTop();
    if (pending_.empty())
      return false;
    PathStep step = std::move(pending_.back());
    pending_.pop_back();
    if (covered(step)) {
      allocator_->deallocate(step.successor.state);
      continue;
    }
    *static_cast<Successor*>(out) = step.successor;
    path_.push(std::move(step), pending_.size());
    return true;
  }
}

void BackFrontFilter::abandon() {
  while (!path_.empty())
    allocator_->deallocate(path_.pop().successor.state);
  for (PathStep& step : pending_)
    allocator_->deallocate(step.successor.state);
  pending_.clear();
}

BackFrontFilter* createBackFrontFilter(const Pointer<System>& system, FrontStack& path,
                                       std::vector<PathStep>& pending,
                                       const Pointer<PWList>& passed,
                                       const Pointer<Allocator>& allocator,
                                       StorageReduction reduction) {
  return new BackFrontFilter(system, path, pending, passed, allocator, reduction);
}

} // namespace orvela

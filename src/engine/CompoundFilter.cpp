#include "engine/CompoundFilter.h"

#include <cassert>

namespace orvela {

void CompoundFilter::reset() {
  final_ = nullptr;
  kept_.clear();
}

void CompoundFilter::setSink(Sink* next) {
  if (final_)
    final_->setSink(next);
}

Filter* CompoundFilter::chain(std::initializer_list<Filter*> stages) {
  Filter* first = nullptr;
  Filter* last = nullptr;
  for (Filter* stage : stages) {
    if (!stage)
      continue;
    if (last)
      last->setSink(stage);
    else
      first = stage;
    last = stage;
  }
  assert(first && "a chain needs a stage");
  return first;
}

} // namespace orvela

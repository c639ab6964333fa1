#include "checkers/Trace.h"

namespace orvela {

ConcatTrace::ConcatTrace(const Pointer<Trace>& first, const Pointer<Trace>& second)
    : first_(first), second_(second), current_(first) {
  settle();
}

void ConcatTrace::reset() {
  first_->reset();
  second_->reset();
  current_ = first_;
  settle();
}

void ConcatTrace::next() {
  if (!current_)
    return;
  current_->next();
  settle();
}

void ConcatTrace::settle() {
  if (current_ == first_ && first_->atEnd())
    current_ = second_;
  if (current_ == second_ && second_->atEnd())
    current_ = nullptr;
}

Pointer<Trace> concat(const Pointer<Trace>& a, const Pointer<Trace>& b) {
  if (a->getLength() == 0)
    return b;
  if (b->getLength() == 0)
    return a;
  return new ConcatTrace(a, b);
}

} // namespace orvela

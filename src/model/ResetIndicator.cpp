#include "model/ResetIndicator.h"

#include "base/Exceptions.h"

namespace orvela {

bool ResetIndicator::tighten(unsigned int, unsigned int, int) { return true; }

void ResetIndicator::reset(unsigned int clock, int value) {
  out_[clock] = static_cast<float>(value);
}

void ResetIndicator::offset(unsigned int clock, int delta) {
  out_[clock] += static_cast<float>(delta);
}

GlobalState* ResetIndicator::getGlobalState() {
  throw Bug("ResetIndicator cannot return GlobalState");
}

} // namespace orvela

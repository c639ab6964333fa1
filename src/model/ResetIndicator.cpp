#include "model/ResetIndicator.h"

#include "model/IntegerInfo.h"
#include "server/base/Exceptions.h"

namespace orvela {

// The source is only read; the view's integer accessor is not const-qualified.
ResetIndicator::ResetIndicator(const PublicState* source, float* out)
    : out_(out), heur_(source->getHeur()), cost_(source->getMinimumCost()), source_(source) {
  const int* values = const_cast<PublicState*>(source)->getIntegerReference();
  integers_.assign(values, values + IntegerInfo::integers.size());
}

bool ResetIndicator::tighten(unsigned int, unsigned int, int) { return true; }

void ResetIndicator::reset(unsigned int clock, int value) {
  out_[clock] = static_cast<float>(value);
}

void ResetIndicator::offset(unsigned int clock, int delta) {
  out_[clock] += static_cast<float>(delta);
}

int ResetIndicator::getLocation(unsigned int process) const {
  return source_->getLocation(process);
}

GlobalState* ResetIndicator::getGlobalState() {
  throw Bug("ResetIndicator cannot return GlobalState");
}

} // namespace orvela

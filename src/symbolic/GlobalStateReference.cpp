#include "symbolic/GlobalStateReference.h"

#include "symbolic/GlobalState.h"

namespace orvela {

void GlobalStateReferenceWrapper::writeDiscreteTo(GlobalState* target) {
  state_->discreteCopy(target);
}

void GlobalStateReferenceWrapper::writeSymbolicTo(GlobalState* target) {
  state_->getRegion()->unpackTo(target->getUnpackedRegion());
}

} // namespace orvela

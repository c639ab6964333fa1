#include "distributed/SafraTermination.h"

namespace orvela {

std::optional<TerminationToken> SafraTermination::passive() {
  if (!holding_ || over_)
    return std::nullopt;
  if (ranks_ == 1) { // no ring: only its own messages can be in flight
    over_ = count_ == 0;
    return std::nullopt;
  }
  if (rank_ == 0 && waveOpen_ && !token_.black && !black_ && token_.count + count_ == 0) {
    over_ = true;
    return std::nullopt;
  }
  TerminationToken next = token_;
  if (rank_ == 0) {
    next = TerminationToken{}; // a new wave
    waveOpen_ = true;
  } else {
    next.count += count_;
    next.black = next.black || black_;
  }
  black_ = false;
  holding_ = false;
  return next;
}

} // namespace orvela

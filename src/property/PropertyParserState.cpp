#include "property/PropertyParserState.h"

#include "language/ErrorReporting.h"

#include <ostream>

namespace orvela {

PropertyParserState* tctlState = nullptr;

PropertyParserState::PropertyParserState(std::istream& input, const Pointer<System>& system)
    : arenaScope(arena), input(input), system(system), build(*this) {}

bool PropertyParserState::semanticError(const char* reason) {
  lastReason = reason;
  tctl_error(reason);
  return false;
}

} // namespace orvela

void tctl_error(const char*) { orvela::errorStream() << "Bad property\n"; }

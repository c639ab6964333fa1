#include "language/PropertyParserState.h"

#include "language/ErrorReporting.h"

#include <ostream>

namespace orvela {

PropertyParserState* tctlState = nullptr;

namespace {

// The tables of `system`; without a system, those of an empty model.
const ModelTables& tablesOf(const Pointer<System>& system) {
  static const ModelTables none;
  return system ? system->tables() : none;
}

} // namespace

PropertyParserState::PropertyParserState(std::istream& input, const Pointer<System>& system)
    : arena(tablesOf(system)), arenaScope(arena), input(input), system(system), build(*this) {}

bool PropertyParserState::semanticError(const char* reason) {
  lastReason = reason;
  tctl_error(reason);
  return false;
}

} // namespace orvela

void tctl_error(const char*) { orvela::errorStream() << "Bad property\n"; }

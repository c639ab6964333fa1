// Fuzz target: the system-description parser on arbitrary text. A
// description is either a model or a list of error messages; the parser must
// never fail otherwise. A model it accepts must have an initial state.

#include "FuzzTarget.h"
#include "language/ParseSystem.h"
#include "symbolic/GlobalState.h"

#include <exception>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    std::string messages;
    const orvela::Pointer<orvela::System> system = orvela::parseSystem(text, &messages);
    if (!system)
      return 0;
    const orvela::Pointer<orvela::GlobalState> initial = system->calcInitial();
    if (initial->getProcessCount() != system->getProcessCount())
      orvela::fuzz::fault("initial state", "process count differs from the model's");
  } catch (const std::exception& failure) {
    orvela::fuzz::fault("the parser threw", failure.what());
  }
  return 0;
}

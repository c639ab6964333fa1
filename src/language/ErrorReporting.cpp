#include "language/ErrorReporting.h"

#include <ostream>

namespace orvela {

void writeParseError(std::ostream& errors, int line, const char* message) {
  errors << "Error at line " << line << " : " << message << '\n';
}

} // namespace orvela

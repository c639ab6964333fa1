#include "language/ErrorReporting.h"

#include <iostream>

namespace orvela {

int line = 1;

namespace {
std::ostream* selectedStream = &std::cerr;
} // namespace

void setErrorStream(std::ostream& stream) { selectedStream = &stream; }

std::ostream& errorStream() { return *selectedStream; }

} // namespace orvela

void gta_error(const char* message) {
  orvela::errorStream() << "Error at line " << orvela::line << " : " << message << '\n';
}

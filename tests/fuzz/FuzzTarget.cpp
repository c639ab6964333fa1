#include "FuzzTarget.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace orvela::fuzz {

void fault(const char* what, const char* detail) {
  std::fprintf(stderr, "fuzz target fault: %s: %s\n", what, detail);
  std::abort();
}

void silenceDiagnostics() { std::cerr.rdbuf(nullptr); }

} // namespace orvela::fuzz

#include "server/Client.h"

#include <iostream>

namespace orvela {

namespace {
std::istream* input = &std::cin;
std::ostream* output = &std::cout;
} // namespace

std::istream& clientIn() { return *input; }
std::ostream& clientOut() { return *output; }

void setClientStreams(std::istream& in, std::ostream& out) {
  input = &in;
  output = &out;
}

void writeLine(std::string_view line) { *output << line << std::endl; }

void writeError(std::string_view message) {
  writeLine("error");
  writeLine(message);
  writeLine(".");
}

void writeFatalError(std::string_view message) {
  writeLine("error");
  *output << "CAUGHT EXCEPTION: " << message << std::endl;
  writeLine(".");
}

} // namespace orvela

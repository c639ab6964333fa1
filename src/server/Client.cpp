#include "server/Client.h"

#include <ostream>

namespace orvela {

void Client::writeLine(std::string_view line) const { out_ << line << std::endl; }

void Client::writeError(std::string_view message) const {
  writeLine("error");
  writeLine(message);
  writeLine(".");
}

void Client::writeFatalError(std::string_view message) const {
  writeLine("error");
  out_ << "CAUGHT EXCEPTION: " << message << std::endl;
  writeLine(".");
}

} // namespace orvela

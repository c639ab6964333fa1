#include "server/RequestInput.h"

#include "base/Exceptions.h"

#include <istream>
#include <ostream>

namespace orvela {

char get(std::istream& in) {
  char c = 0;
  while (in.get(c) && c == '\r') {
  }
  return c;
}

bool spoolToTemp(std::istream& in, std::ostream& out) {
  char window[3];
  for (char& c : window)
    c = get(in);
  if (!in)
    return false;
  while (!(window[0] == '\n' && window[1] == '.' && window[2] == '\n')) {
    out.put(window[0]);
    window[0] = window[1];
    window[1] = window[2];
    window[2] = get(in);
    if (!in)
      return false;
  }
  out.put('\n');
  return true;
}

namespace {

/// Reads up to the end of the line, keeping at most `limit` characters.
/// Returns the number of characters the line had, or -1 at end of input with
/// nothing read.
long readLimitedLine(std::istream& in, std::string& line, std::size_t limit) {
  line.clear();
  long length = 0;
  for (;;) {
    char c = get(in);
    if (!in)
      return length == 0 ? -1 : length;
    if (c == '\n')
      return length;
    if (line.size() < limit)
      line.push_back(c);
    ++length;
  }
}

} // namespace

bool readServiceLine(std::istream& in, std::string& line) {
  return readLimitedLine(in, line, serviceLineLimit) >= 0;
}

std::string readRequestLine(std::istream& in) {
  std::string line;
  long length = readLimitedLine(in, line, requestLineLimit);
  if (length < 0)
    throw ProtocolError("Unexpected end of input in request");
  if (static_cast<std::size_t>(length) > requestLineLimit)
    throw ProtocolError("Request line longer than %zu characters", requestLineLimit);
  return line;
}

} // namespace orvela

#include "Inputs.h"

#include "base/Exceptions.h"
#include "session/Session.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

namespace orvela::verifier {

std::string readInput(const std::string& name) {
  errno = 0;
  std::ifstream file;
  if (name != "-")
    file.open(name, std::ios::binary);
  std::istream& in = name == "-" ? std::cin : file;
  std::string text;
  if (in) {
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
      text.append(buffer, std::size_t(in.gcount()));
  }
  if (!in.eof()) {
    const std::string what = name == "-" ? "standard input" : name;
    throw Stop{badInput, "cannot read " + what + ": " + std::strerror(errno ? errno : EIO)};
  }
  return text;
}

void applyOptions(Session& session, const CommandLine& line) {
  for (const CommandLine::SessionOption& option : line.sessionOptions) {
    try {
      session.setOption(option.name, option.value);
    } catch (const ProtocolError& error) {
      throw Stop{badInput, option.flag + ": " + error.what()};
    }
  }
  session.setThreads(line.threads);
  session.setLimits(line.limits);
}

std::vector<Query> collectQueries(const CommandLine& line) {
  std::vector<Query> queries;
  for (const std::string& text : line.inlined)
    queries.push_back({text, "-e", 0});
  if (!line.queries.empty()) {
    const std::string source = line.queries == "-" ? "<stdin>" : line.queries;
    std::istringstream file(readInput(line.queries));
    const std::vector<Query> fromFile = readQueries(file, source);
    if (fromFile.empty())
      throw Stop{badInput, source + ": no property in the file"};
    queries.insert(queries.end(), fromFile.begin(), fromFile.end());
  }
  if (queries.empty())
    throw Stop{badInput, "no property to check: name a query file or give -e PROPERTY"};
  return queries;
}

} // namespace orvela::verifier

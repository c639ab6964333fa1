// orvela: the command-line verifier. Loads a model, checks properties on it
// through the same session as the server, and reports verdicts, traces and
// statistics as text or as one JSON document. `orvela --help` tells how.

#include "CommandLine.h"
#include "JsonReport.h"
#include "TextReport.h"
#include "Verifier.h"
#include "engine/ProcessMemory.h"
#include "server/Session.h"
#include "server/base/Exceptions.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <sstream>
#include <unistd.h>

using namespace orvela;
using namespace orvela::verifier;

namespace {

/// Something that ends the run before its properties are all checked.
struct Stop {
  ExitCode code;
  std::string message;
};

/// The file named on the command line, or standard input for "-".
class InputFile {
public:
  explicit InputFile(const std::string& name) {
    if (name == "-")
      return;
    file_ = std::make_unique<std::ifstream>(name);
    if (!*file_)
      throw Stop{badInput, "cannot read " + name + ": " + std::strerror(errno)};
  }
  std::istream& stream() { return file_ ? *file_ : std::cin; }

private:
  std::unique_ptr<std::ifstream> file_;
};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty())
      lines.push_back(line);
  return lines;
}

void applyOptions(Session& session, const CommandLine& line) {
  for (const CommandLine::SessionOption& option : line.sessionOptions) {
    try {
      session.setOption(option.name, option.value);
    } catch (const ProtocolError& error) {
      throw Stop{badInput, option.flag + ": " + error.what()};
    }
  }
  session.setLimits(line.limits);
}

std::vector<Query> collectQueries(const CommandLine& line) {
  std::vector<Query> queries;
  for (const std::string& text : line.inlined)
    queries.push_back({text, "-e", 0});
  if (!line.queries.empty()) {
    InputFile file(line.queries);
    const std::vector<Query> fromFile =
        readQueries(file.stream(), line.queries == "-" ? "<stdin>" : line.queries);
    queries.insert(queries.end(), fromFile.begin(), fromFile.end());
  }
  return queries;
}

void loadModel(Session& session, const CommandLine& line, RunReport& run) {
  InputFile file(line.model);
  std::string messages;
  try {
    session.loadSystem(file.stream(), &messages);
  } catch (const ProtocolError& error) {
    run.modelMessages = linesOf(messages);
    throw Stop{badInput, line.model + ": " + error.what()};
  }
  run.modelMessages = linesOf(messages);
}

void reportRejected(const PropertyReport& report) {
  std::cerr << "orvela: ";
  if (report.query.line > 0)
    std::cerr << report.query.source << ':' << report.query.line << ": ";
  std::cerr << report.reason << ": " << report.query.text << '\n';
}

int run(const CommandLine& line) {
  const auto start = std::chrono::steady_clock::now();
  RunReport run;
  run.model = line.model;
  std::optional<TextReport> text;
  if (!line.json)
    text.emplace(std::cout, line.stats);

  Session session;
  // A progress line only helps a person watching a terminal.
  const bool progress = isatty(STDERR_FILENO) == 1;
  session.setProgress(progress);
  ExitCode failure = allSatisfied;
  try {
    applyOptions(session, line);
    run.options = session.options();
    run.limits = line.limits;
    const std::vector<Query> queries = collectQueries(line);
    loadModel(session, line, run);
    for (const std::string& message : run.modelMessages)
      std::cerr << message << '\n';
    Verifier verifier(session, line.trace);
    for (const Query& query : queries) {
      PropertyReport report = verifier.check(query);
      if (progress)
        std::cerr << '\r' << std::string(79, ' ') << '\r' << std::flush;
      if (report.badInput)
        reportRejected(report);
      if (text)
        text->property(report);
      run.total.explored += report.stats.explored;
      run.total.stored += report.stats.stored;
      run.properties.push_back(std::move(report));
    }
    run.total.peakMiB = std::max(verifier.peakMiB(), peakResidentMiB());
  } catch (const Stop& stop) {
    failure = stop.code;
    run.error = stop.message;
  } catch (const std::bad_alloc&) {
    failure = internalFailure;
    run.error = "memory ran out";
  } catch (const std::exception& error) {
    failure = internalFailure;
    run.error = std::string("internal failure: ") + error.what();
  }
  if (!run.error.empty()) {
    std::cerr << "orvela: " << run.error << '\n';
    if (failure == badInput)
      for (const std::string& message : run.modelMessages)
        std::cerr << message << '\n';
  }
  run.total.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (run.total.peakMiB == 0)
    run.total.peakMiB = peakResidentMiB();
  run.exitCode = exitCodeOf(run.properties, failure);
  if (text)
    text->finish(run);
  else
    writeJsonReport(std::cout, run);
  return run.exitCode;
}

} // namespace

int main(int argc, char** argv) {
  CommandLine line;
  try {
    line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "orvela: " << error.what() << "\nTry 'orvela --help'.\n";
    return badInput;
  }
  if (line.help) {
    std::cout << helpText();
    return 0;
  }
  return run(line);
}

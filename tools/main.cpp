// orvela: the command-line verifier. Loads a model, checks properties on it
// through the same session as the server, and reports verdicts, traces and
// statistics as text or as one JSON document. `orvela --help` tells how.

#include "CommandLine.h"
#include "Describe.h"
#include "DotWriter.h"
#include "Explore.h"
#include "Inputs.h"
#include "JsonReport.h"
#include "TextReport.h"
#include "Verifier.h"
#include "base/Exceptions.h"
#include "engine/ProcessMemory.h"
#include "session/Session.h"
#include "session/Version.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <sstream>
#include <unistd.h>

using namespace orvela;
using namespace orvela::verifier;

namespace {

void loadModel(Session& session, const CommandLine& line, const std::string& model,
               RunReport& run) {
  std::istringstream text(model);
  try {
    session.loadSystem(text, &run.modelMessages);
  } catch (const ProtocolError& error) {
    throw Stop{badInput, line.model + ": " + error.what()};
  }
}

/// The model's messages as a compiler writes them: "FILE:LINE:COLUMN: KIND:
/// message", the file as named on the command line; `kind` is "warning"
/// when the model loaded all the same (a name cut to its significant part).
void writeModelMessages(const RunReport& run, const char* kind) {
  const std::string file = run.model == "-" ? "<stdin>" : run.model;
  for (const ParseMessage& message : run.modelMessages)
    std::cerr << file << ':' << message.line << ':' << message.column << ": " << kind << ": "
              << message.text << '\n';
}

/// Flushes the report so far; a report that cannot be written (the reader
/// went away, the disk is full) ends the run rather than checking on for
/// nobody.
void checkReportWritten() {
  errno = 0;
  if (!std::cout.flush())
    throw Stop{internalFailure,
               std::string("cannot write the report: ") + std::strerror(errno ? errno : EIO)};
}

/// The evaluation events of the session's model, one warning per kind that
/// happened.
std::vector<Warning> warningsOf(const Session& session) {
  static const std::pair<EvaluationEvent, const char*> kinds[] = {
      {EvaluationEvent::overflow, "arithmetic overflow"},
      {EvaluationEvent::valueClamped, "value clamped"},
      {EvaluationEvent::indexClamped, "index clamped"}};
  std::vector<Warning> warnings;
  if (!session.hasSystem() || !session.system()->events())
    return warnings;
  for (const auto& [kind, name] : kinds) {
    EvaluationEvents::Tally tally = session.system()->events()->tally(kind);
    if (tally.count > 0)
      warnings.push_back({name, tally.count, std::move(tally.where)});
  }
  return warnings;
}

/// Writes the trace of the last property that has one to the --dot file; a
/// run without any trace writes nothing and says so.
void writeDotFile(const std::string& name, const std::vector<PropertyReport>& properties) {
  const auto last =
      std::find_if(properties.rbegin(), properties.rend(),
                   [](const PropertyReport& report) { return !report.trace.empty(); });
  if (last == properties.rend()) {
    std::cerr << "orvela: no trace to write to " << name << '\n';
    return;
  }
  errno = 0;
  std::ofstream file(name);
  writeTraceDot(file, *last);
  if (!file.flush())
    throw Stop{internalFailure, "cannot write " + name + ": " + std::strerror(errno ? errno : EIO)};
}

void reportRejected(const PropertyReport& report) {
  std::cerr << "orvela: ";
  // -e properties are one line each.
  if (report.query.line > 0 || report.column > 0)
    std::cerr << report.query.source << ':' << std::max(report.query.line, 1) << ':';
  if (report.column > 0)
    std::cerr << report.column << ':';
  if (report.query.line > 0 || report.column > 0)
    std::cerr << ' ';
  std::cerr << report.reason << ": " << report.query.text << '\n';
}

/// The exploration of --explore, and its drawing with --dot: a drawing of
/// more states than anyone can read is refused.
void runExploration(Session& session, const CommandLine& line, RunReport& run) {
  ExploredGraph graph;
  run.exploration = explore(session, line.dot.empty() ? nullptr : &graph);
  if (line.dot.empty() || !run.exploration->stopReason.empty())
    return;
  if (graph.nodes.size() > maximalDrawnStates)
    throw Stop{badInput, "--dot draws at most " + std::to_string(maximalDrawnStates) +
                             " states; the exploration stored " +
                             std::to_string(graph.nodes.size())};
  errno = 0;
  std::ofstream file(line.dot);
  writeExploredGraph(file, graph);
  if (!file.flush())
    throw Stop{internalFailure,
               "cannot write " + line.dot + ": " + std::strerror(errno ? errno : EIO)};
}

/// --describe: the model's structure, or its errors, as JSON on standard
/// output.
int describe(const CommandLine& line) {
  try {
    return describeModel(readInput(line.model), std::cout);
  } catch (const Stop& stop) {
    std::cerr << "orvela: " << stop.message << '\n';
    return stop.code;
  } catch (const std::bad_alloc&) {
    std::cerr << "orvela: memory ran out\n";
  } catch (const std::exception& error) {
    std::cerr << "orvela: internal failure: " << error.what() << '\n';
  }
  return internalFailure;
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
    // The session may keep traces it was not asked to print (to confirm
    // what a convex-hull search found); the report says whether they are.
    run.options.trace = line.trace;
    run.limits = line.limits;
    const std::string model = readInput(line.model);
    const std::vector<Query> queries = line.explore ? std::vector<Query>() : collectQueries(line);
    loadModel(session, line, model, run);
    writeModelMessages(run, "warning");
    if (line.explore)
      runExploration(session, line, run);
    Verifier verifier(session, line.trace, line.concrete);
    for (const Query& query : queries) {
      PropertyReport report = verifier.check(query);
      if (progress)
        std::cerr << '\r' << std::string(79, ' ') << '\r' << std::flush;
      if (report.badInput)
        reportRejected(report);
      if (text) {
        text->property(report);
        checkReportWritten();
      }
      run.total.explored += report.stats.explored;
      run.total.stored += report.stats.stored;
      run.properties.push_back(std::move(report));
    }
    run.warnings = warningsOf(session);
    if (!line.dot.empty())
      writeDotFile(line.dot, run.properties);
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
      writeModelMessages(run, "error");
  }
  run.total.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.total.peakMiB = peakResidentMiB();
  run.exitCode = exitCodeOf(run.properties, failure);
  if (run.exitCode == allSatisfied && run.exploration && !run.exploration->stopReason.empty())
    run.exitCode = inconclusive;
  if (text)
    text->finish(run);
  else
    writeJsonReport(std::cout, run);
  if (!std::cout.flush() && failure != internalFailure) {
    std::cerr << "orvela: cannot write the report\n";
    return internalFailure;
  }
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
  if (line.version) {
    std::cout << versionBanner << '\n';
    return 0;
  }
  return line.describe ? describe(line) : run(line);
}

// orvela-mpi: `mpirun -np K orvela-mpi [options] MODEL [QUERIES]` checks
// every E<> and A[] property (without deadlock) over all K processes, each
// owning part of the state space; the other properties are checked by
// process 0 alone, as the verifier does. Process 0 writes the report.

#include "CommandLine.h"
#include "Inputs.h"
#include "Queries.h"
#include "TextReport.h"
#include "TraceText.h"
#include "Verifier.h"
#include "base/Exceptions.h"
#include "checkers/CDDDeadlockExpr.h"
#include "distributed/DistributedSearch.h"
#include "engine/ProcessMemory.h"
#include "session/Session.h"

#include <mpi.h>

#include <chrono>
#include <iomanip>
#include <iostream>
#include <sstream>

using namespace orvela;
using namespace orvela::verifier;

namespace {

/// Every process runs the same steps on the same input, so a refusal is met
/// by all of them at once.
CommandLine readCommandLine(int argc, char** argv) {
  CommandLine line;
  try {
    line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    throw Stop{badInput, error.what()};
  }
  if (line.help || line.version || line.explore || line.describe || line.json ||
      !line.dot.empty() || line.concrete)
    throw Stop{badInput, "orvela-mpi checks properties only: no --help, --version, --explore, "
                         "--describe, --format json, --dot or concrete traces"};
  // Standard input reaches process 0 alone.
  if (line.model == "-" || line.queries == "-")
    throw Stop{badInput, "orvela-mpi reads the model and the queries from files"};
  for (const CommandLine::SessionOption& option : line.sessionOptions)
    if (option.name == "reuse")
      throw Stop{badInput, "orvela-mpi does not reuse state spaces: no --reuse"};
  return line;
}

/// The report of a distributed check, on process 0. The trace is replayed
/// from the start state; one that does not replay to a state where the
/// formula holds is a fault of the search.
PropertyReport reportOf(const Query& query, const ParsedProperty& parsed,
                        const DistributedOutcome& outcome, const Session& session, bool traces) {
  PropertyReport report;
  report.query = query;
  report.kind = parsed.kind;
  const bool satisfied = outcome.found != searchesCounterexample(parsed.kind);
  report.verdict = satisfied ? Verdict::satisfied : Verdict::notSatisfied;
  report.stats.explored = outcome.explored;
  report.stats.stored = outcome.stored;
  if (!traces || !outcome.trace)
    return report;
  CheckResult result;
  result.kind = parsed.kind;
  result.found = true;
  result.hasTrace = true;
  result.formula = parsed.expression;
  result.trace.path = outcome.trace;
  result.trace.loop = new NullTrace();
  const int steps = outcome.trace->getLength();
  bool holds = false;
  const bool complete = session.replay(
      result,
      [&](const GlobalState* state, const Transition* const* edges) {
        TraceStep step;
        for (const Transition* const* edge = edges; *edge; ++edge)
          step.edges.push_back(describeEdge(**edge));
        step.state = describeState(*session.system(), *state, session.options().zoneFormat);
        if (int(report.trace.size()) == steps)
          holds = session.satisfies(*parsed.expression, state);
        report.trace.push_back(std::move(step));
      },
      true);
  if (!complete || !holds)
    throw Bug("the distributed trace of '%s' does not replay", query.text.c_str());
  return report;
}

int run(int argc, char** argv, int rank, int ranks) {
  const auto begin = std::chrono::steady_clock::now();
  const CommandLine line = readCommandLine(argc, argv);
  Session session;
  applyOptions(session, line);
  const std::vector<Query> queries = collectQueries(line);
  {
    std::istringstream model(readInput(line.model));
    try {
      session.loadSystem(model);
    } catch (const ProtocolError& error) {
      throw Stop{badInput, line.model + ": " + error.what()};
    }
  }
  TextReport text(std::cout, line.stats);
  Verifier verifier(session, line.trace);
  std::vector<PropertyReport> reports;
  RunReport total;
  for (const Query& query : queries) {
    const auto start = std::chrono::steady_clock::now();
    const Pointer<System>& system = session.system();
    const ParsedProperty parsed =
        parseProperty(query.text, system, nullptr, deadlockFactory(system));
    PropertyReport report;
    DistributedOutcome outcome;
    const bool distributed = parsed.expression && checksDistributed(parsed, session.options());
    if (distributed) {
      outcome = searchDistributed(MPI_COMM_WORLD, session.model(), session.options(), parsed);
      if (rank == 0)
        report = reportOf(query, parsed, outcome, session, line.trace);
    } else if (rank == 0) {
      report = verifier.check(query);
    }
    if (rank != 0)
      continue;
    report.stats.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.stats.peakMiB = peakResidentMiB();
    text.property(report);
    if (distributed && line.stats)
      std::cout << std::string(15, ' ') << "distributed over " << ranks << " processes: sent "
                << outcome.statesSent << " states, " << outcome.bytesSent << " bytes\n";
    total.total.explored += report.stats.explored;
    total.total.stored += report.stats.stored;
    reports.push_back(std::move(report));
  }
  if (rank != 0)
    return allSatisfied;
  total.properties = reports;
  total.total.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  total.total.peakMiB = peakResidentMiB();
  text.finish(total);
  return exitCodeOf(reports, allSatisfied);
}

} // namespace

int main(int argc, char** argv) {
  MPI_Init(&argc, &argv);
  int rank = 0, ranks = 1;
  MPI_Comm_rank(MPI_COMM_WORLD, &rank);
  MPI_Comm_size(MPI_COMM_WORLD, &ranks);
  int code = allSatisfied;
  try {
    code = run(argc, argv, rank, ranks);
  } catch (const Stop& stop) {
    // Every process met the same refusal; process 0 says why.
    if (rank == 0)
      std::cerr << "orvela-mpi: " << stop.message << '\n';
    code = stop.code;
  } catch (const std::exception& error) {
    // The other processes may wait for this one: end the whole job.
    std::cerr << "orvela-mpi: internal failure: " << failureMessage(error) << std::endl;
    MPI_Abort(MPI_COMM_WORLD, internalFailure);
  }
  // Every process ends with process 0's status: mpirun answers the first
  // non-zero one, and one process ending apart makes it kill the others.
  MPI_Bcast(&code, 1, MPI_INT, 0, MPI_COMM_WORLD);
  MPI_Finalize();
  return code;
}

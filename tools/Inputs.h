#pragma once
// What a verifier run reads before it checks anything: the model and query
// texts, the options it applies to its session, and the refusal that ends a
// run early.

#include "CommandLine.h"
#include "Queries.h"
#include "Report.h"

#include <string>
#include <vector>

namespace orvela {
class Session;
}

namespace orvela::verifier {

/// Something that ends the run before its properties are all checked: the
/// exit status and what to say.
struct Stop {
  ExitCode code;
  std::string message;
};

/// The whole text of the file `name`, or of standard input for "-". Throws
/// `Stop` (bad input) for a file that cannot be opened or read (a directory,
/// say).
std::string readInput(const std::string& name);

/// Sets the command line's session options, thread count and limits; an
/// option the session rejects throws `Stop` naming the command-line flag.
void applyOptions(Session& session, const CommandLine& line);

/// The -e properties, then those of the query file. A run without any
/// property, and a query file without one, throw `Stop` (bad input): the
/// file is probably not the one meant.
std::vector<Query> collectQueries(const CommandLine& line);

} // namespace orvela::verifier

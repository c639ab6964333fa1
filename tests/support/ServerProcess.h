#pragma once
// Runs a program as a child process with pipes on its standard streams, the
// way a client drives the server.

#include <cstddef>
#include <string>
#include <vector>

namespace orvela::test {

struct ProcessResult {
  std::string out;
  std::string err;
  int exitStatus = -1; ///< exit code, or 128 + signal number
};

/// Starts `program` with `args`, writes all of `input` to its standard input,
/// closes it, collects standard output and error until the process ends.
/// With `addressSpaceLimit` (bytes, 0 for none) the child's address space is
/// limited before it starts the program, so that its allocations fail beyond.
/// With `readOutput` false nobody reads the child's standard output: its read
/// end is closed before the child starts, so every write there fails (SIGPIPE
/// is ignored in the child), and `out` stays empty.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, std::size_t addressSpaceLimit = 0,
                         bool readOutput = true);

/// `runProcess` on the built server.
ProcessResult runServer(const std::string& input, std::size_t addressSpaceLimit = 0);

#ifdef ORVELA_VERIFIER_PATH
/// `runProcess` on the built command-line verifier.
ProcessResult runVerifier(const std::vector<std::string>& args, const std::string& input = "");
#endif

} // namespace orvela::test

#pragma once
// Driving the verifier binary from the tests: model and query files in the
// test's temporary folder, runs with a JSON report parsed back, and the
// verdict lines of a text report.

#include "support/ServerProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace orvela::test {

/// A file in the test's temporary folder, removed with the object.
class TempFile {
public:
  TempFile(const std::string& name, const std::string& text)
      : path_(testing::TempDir() + std::to_string(getpid()) + "-" + name) {
    std::ofstream(path_) << text;
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

/// A run whose standard output is a JSON document, parsed (a document that
/// does not parse fails the test).
using Json = nlohmann::ordered_json;
struct JsonRun {
  ProcessResult process;
  Json document;
};

inline JsonRun runVerifierJson(std::vector<std::string> args, const std::string& input = "") {
  args.insert(args.begin(), {"--format", "json"});
  JsonRun run{runVerifier(args, input), {}};
  try {
    run.document = Json::parse(run.process.out);
  } catch (const std::exception& error) {
    ADD_FAILURE() << error.what() << "\n" << run.process.out << run.process.err;
  }
  return run;
}

/// The lines of a text.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

/// Two processes synchronising on a channel, a clock with an invariant and a
/// bounded integer: P.done is reachable, n never exceeds 1.
inline const char* const handshakeModel = R"(clock x;
int [0,3] n;
chan c;
process P {
  state a, b { x <= 4 }, done;
  init a;
  trans a -> b { guard n == 0; sync c!; assign x := 0, n := 1; },
        b -> done { guard x >= 2; };
}
process Q {
  state s, t;
  init s;
  trans s -> t { sync c?; };
}
system P, Q;
)";

/// N processes of Fischer's protocol: big enough state spaces for limits and
/// progress (N = 6 needs tens of seconds for a full search).
inline std::string fischerModel(int processes) {
  std::string text = "const k 2;\nint [0," + std::to_string(processes) + "] id;\n";
  for (int p = 1; p <= processes; ++p) {
    const std::string i = std::to_string(p);
    text += "process P" + i + " {\n  clock x;\n  state A, req { x <= k }, wait, cs;\n  init A;\n" +
            "  trans A -> req { guard id == 0; assign x := 0; },\n" +
            "        req -> wait { guard x <= k; assign x := 0, id := " + i + "; },\n" +
            "        wait -> req { guard id == 0; assign x := 0; },\n" +
            "        wait -> cs { guard x > k, id == " + i + "; },\n" +
            "        cs -> A { assign id := 0; };\n}\n";
  }
  text += "system P1";
  for (int p = 2; p <= processes; ++p)
    text += ", P" + std::to_string(p);
  return text + ";\n";
}

} // namespace orvela::test

#pragma once
// Protocol sessions with the real server: requests built from small models
// written in the tests, replies compared byte for byte.

#include "support/ServerProcess.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace orvela::test {

/// Runs the server on `requests` and answers everything it wrote after its
/// greeting; the session must end normally.
inline std::string replies(const std::string& requests) {
  const ProcessResult result = runServer(requests);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out.substr(0, 5), "ok\n.\n");
  return result.out.size() < 5 ? std::string() : result.out.substr(5);
}

/// The requests of the services that take a body or lines.
inline std::string newSystem(const std::string& description) {
  return "newSystem\n" + description + "\n.\n";
}
inline std::string modelCheck(const std::string& property) {
  return "modelCheck\n" + property + "\n.\n";
}
/// `lines` holds one option per line, each ended by a newline.
inline std::string setOptions(const std::string& lines) { return "setOptions\n" + lines + ".\n"; }

/// The error reply.
inline std::string error(const std::string& message) { return "error\n" + message + "\n.\n"; }

/// A constraint group of a state block: x_i - x_j below v/2 (v odd) or at
/// most v/2 (v even).
struct Constraint {
  long i, j, v;
};

/// A state block of a reply: its text and its constraint groups.
struct StateBlock {
  std::string text;
  std::vector<Constraint> zone;
};

/// Reads a transcript of replies line by line; past its end, lines are empty.
class ReplyReader {
public:
  explicit ReplyReader(const std::string& out) {
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
      lines_.push_back(line);
  }
  /// The next line.
  std::string line() { return at_ < lines_.size() ? lines_[at_++] : std::string(); }
  /// Whether the next line is `text`, which is then read.
  bool skip(const std::string& text) {
    const bool match = at_ < lines_.size() && lines_[at_] == text;
    at_ += match;
    return match;
  }
  /// Reads `count` lines.
  void skipLines(int count) {
    for (int k = 0; k < count; ++k)
      line();
  }
  /// The rest of the transcript.
  std::string rest() {
    std::string text;
    while (at_ < lines_.size())
      text += line() + "\n";
    return text;
  }
  /// A state block of a model of `processes` processes and `integers`
  /// integers. Throws `std::invalid_argument` where a group holds no number.
  StateBlock block(int processes, int integers) {
    StateBlock block;
    auto take = [&] {
      std::string read = line();
      block.text += read + "\n";
      return read;
    };
    for (int p = 0; p <= processes; ++p)
      take();
    for (std::string i = take(); i != "."; i = take()) {
      const std::string j = take();
      const std::string v = take();
      take();
      block.zone.push_back({std::stol(i), std::stol(j), std::stol(v)});
    }
    for (int k = 0; k <= integers; ++k)
      take();
    return block;
  }

private:
  std::vector<std::string> lines_;
  std::size_t at_ = 0;
};

/// A lamp that is switched on (resetting x and counting the switches in n),
/// stays on at most 5 time units, may go off after 2, and is done after the
/// third switch (a committed location). Edges: 0 off->on, 1 on->off,
/// 2 on->done.
inline const std::string lamp = "clock x;\n"
                                "int [0,3] n;\n"
                                "process P {\n"
                                "  state off, on { x <= 5 }, done;\n"
                                "  commit done;\n"
                                "  init off;\n"
                                "  trans off -> on { assign x := 0, n := n + 1; },\n"
                                "        on -> off { guard x >= 2; },\n"
                                "        on -> done { guard n == 3; };\n"
                                "}\n"
                                "system P;";
/// The reply to loading `lamp`.
inline const std::string lampNames = "ok\nn \nt(0) x \n.\n";

} // namespace orvela::test

#pragma once
// Safra's termination detection over a ring of processes 0 -> 1 -> ... ->
// n-1 -> 0: a token sums, over the processes it passes while they are
// passive, the basic messages each sent minus those it received, and turns
// black when one of them received a message since the token last left it.
// Process 0 declares the end when the token comes back white, process 0 is
// white and the sum (with its own count) is zero: then every process is
// passive and no message is in flight.

#include <cstdint>
#include <optional>

namespace orvela {

/// The token that goes round the ring.
struct TerminationToken {
  std::int64_t count = 0; ///< basic messages sent minus received, so far in this wave
  bool black = false;     ///< a process it passed may have received a message late
};

/// One process's part of the algorithm. Its owner reports every basic
/// message it sends and receives and the token's arrival, and calls `passive`
/// whenever it has no work left.
class SafraTermination {
public:
  /// Process `rank` of `ranks` (at least 1); process 0 holds the token first.
  SafraTermination(int rank, int ranks) : rank_(rank), ranks_(ranks), holding_(rank == 0) {}

  void sent() { ++count_; }
  void received() {
    --count_;
    black_ = true;
  }
  /// The token arrived from the previous process.
  void takeToken(const TerminationToken& token) {
    token_ = token;
    holding_ = true;
  }
  /// This process has no work: if it holds the token, answers the token to
  /// send to the next process (`rank + 1` modulo `ranks`), or on process 0
  /// sets `over()` instead when the search has ended. Answers nothing when
  /// it does not hold the token or the search is over.
  std::optional<TerminationToken> passive();
  /// Process 0 has detected the end (with one process: it is passive).
  bool over() const { return over_; }

private:
  int rank_;
  int ranks_;
  std::int64_t count_ = 0; ///< basic messages sent minus received
  bool black_ = false;
  bool holding_;
  bool waveOpen_ = false; ///< process 0: the token is on its way round
  bool over_ = false;
  TerminationToken token_;
};

} // namespace orvela

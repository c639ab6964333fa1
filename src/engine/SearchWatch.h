#pragma once
// Limits on the searches of one check: a watch started at the beginning of
// the check counts the states that the passed/waiting lists given it hand out
// for exploration, looks at the clock and the process's memory every so many
// of them, and ends the search by throwing `SearchLimitReached` once a limit
// is passed. A list without a watch pays one test per state.

#include <chrono>
#include <cstdint>
#include <exception>
#include <string>

namespace orvela {

/// Limits of a watched check; 0 means no limit.
struct SearchLimits {
  double seconds = 0;   ///< wall-clock time from the start of the check
  double mebibytes = 0; ///< resident memory of the process, in MiB
  bool any() const { return seconds > 0 || mebibytes > 0; }
};

/// Thrown out of a search when a limit of its watch is passed. The
/// search it leaves is unfinished; its owner must not continue it. The counts
/// are those of the watch (states handed out since the watch was started,
/// nothing stored) unless a driver that knows better has replaced them.
class SearchLimitReached : public std::exception {
public:
  explicit SearchLimitReached(std::string reason) : reason_(std::move(reason)) {}
  const char* what() const noexcept override { return reason_.c_str(); }

  std::uint64_t explored = 0;
  std::uint64_t stored = 0;

private:
  std::string reason_;
};

/// The watch of the searches of one owner (a session), handed to the
/// passed/waiting lists it creates. Single-threaded, like searches.
class SearchWatch {
public:
  /// Reads the memory every this many steps at first.
  static constexpr unsigned firstInterval = 64;

  /// A watch without limits, started now.
  SearchWatch() : SearchWatch(SearchLimits()) {}
  explicit SearchWatch(const SearchLimits& limits) { start(limits); }
  SearchWatch(const SearchWatch&) = delete;
  SearchWatch& operator=(const SearchWatch&) = delete;

  /// Watches `limits` from now on: the clock and the count start afresh.
  void start(const SearchLimits& limits);

  /// One state taken for exploration. Passed/waiting lists call it before
  /// they hand a state out, so that a throw leaves them consistent. Throws
  /// `SearchLimitReached` when a limit has been passed.
  void step() {
    if (--countdown_ == 0)
      poll();
  }

  /// Steps since the last start.
  std::uint64_t steps() const { return steps_ + (interval_ - countdown_); }

private:
  using Clock = std::chrono::steady_clock;

  /// Compares the clock and the memory with the limits, and spaces the next
  /// look so that looks come every few hundredths of a second.
  void poll();
  /// The exception for a passed limit.
  SearchLimitReached stopped(std::string reason);

  SearchLimits limits_;
  Clock::time_point start_;
  Clock::time_point lastPoll_;
  std::uint64_t steps_ = 0;
  unsigned interval_ = firstInterval;
  unsigned countdown_ = firstInterval;
};

} // namespace orvela

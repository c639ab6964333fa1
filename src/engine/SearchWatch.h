#pragma once
// Limits on the searches of one check: a watch installed for the duration of
// the check counts the states that passed/waiting lists hand out for
// exploration, looks at the clock and the process's memory every so many of
// them, and ends the search by throwing `SearchLimitReached` once a limit is
// passed. Without an installed watch a step costs one load and one test.

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

/// Thrown out of a search when a limit of the installed watch is passed. The
/// search it leaves is unfinished; its owner must not continue it. The counts
/// are those of the watch (states handed out since the watch was installed,
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

/// Installs itself as the process's watch for its lifetime (watches nest: the
/// previous one comes back at destruction). Single-threaded, like searches.
class SearchWatch {
public:
  /// Reads the memory every this many steps at first.
  static constexpr unsigned firstInterval = 64;

  explicit SearchWatch(const SearchLimits& limits);
  ~SearchWatch();
  SearchWatch(const SearchWatch&) = delete;
  SearchWatch& operator=(const SearchWatch&) = delete;

  /// One state taken for exploration. Passed/waiting lists call it before
  /// they hand a state out, so that a throw leaves them consistent. Throws
  /// `SearchLimitReached` when a limit has been passed.
  static void step() {
    if (current_ && --current_->countdown_ == 0)
      current_->poll();
  }

  /// Steps since installation.
  std::uint64_t steps() const { return steps_ + (interval_ - countdown_); }
  /// The installed watch, or null.
  static SearchWatch* current() { return current_; }

private:
  using Clock = std::chrono::steady_clock;

  /// Compares the clock and the memory with the limits, and spaces the next
  /// look so that looks come every few hundredths of a second.
  void poll();
  /// The exception for a passed limit.
  SearchLimitReached stopped(std::string reason);

  static SearchWatch* current_;

  SearchLimits limits_;
  SearchWatch* previous_;
  Clock::time_point start_;
  Clock::time_point lastPoll_;
  std::uint64_t steps_ = 0;
  unsigned interval_ = firstInterval;
  unsigned countdown_ = firstInterval;
};

} // namespace orvela

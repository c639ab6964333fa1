#include "engine/SearchWatch.h"

#include "engine/ProcessMemory.h"

#include <cstdio>

namespace orvela {

namespace {

/// Looks closer together than this make the interval grow, further apart
/// than the upper one make it shrink.
constexpr std::chrono::milliseconds quickPoll(10);
constexpr std::chrono::milliseconds slowPoll(50);
constexpr unsigned longestInterval = 1u << 20;

std::string describe(const char* what, double value, const char* unit) {
  char text[96];
  std::snprintf(text, sizeof text, "%s limit of %g %s reached", what, value, unit);
  return text;
}

} // namespace

void SearchWatch::start(const SearchLimits& limits) {
  limits_ = limits;
  start_ = lastPoll_ = Clock::now();
  steps_ = 0;
  interval_ = countdown_ = firstInterval;
}

SearchLimitReached SearchWatch::stopped(std::string reason) {
  // The step that failed handed nothing out, and a caller that goes on
  // stepping is stopped again at its next step.
  --steps_;
  countdown_ = 1;
  interval_ = 1;
  SearchLimitReached stop(std::move(reason));
  stop.explored = steps_;
  return stop;
}

void SearchWatch::poll() {
  steps_ += interval_;
  const Clock::time_point now = Clock::now();
  const std::chrono::duration<double> elapsed = now - start_;
  if (limits_.seconds > 0 && elapsed.count() >= limits_.seconds)
    throw stopped(describe("time", limits_.seconds, "s"));
  if (limits_.mebibytes > 0 && residentMiB() >= limits_.mebibytes)
    throw stopped(describe("memory", limits_.mebibytes, "MiB"));
  const Clock::duration sincePoll = now - lastPoll_;
  if (sincePoll < quickPoll && interval_ < longestInterval)
    interval_ *= 2;
  else if (sincePoll > slowPoll && interval_ > 1)
    interval_ /= 2;
  lastPoll_ = now;
  countdown_ = interval_;
}

} // namespace orvela

#pragma once
// Pass-through stages that show that a long search is alive: a status line
// with the throughput and the load of the waiting list, rewritten about once a
// second, and a spinning character.

#include "engine/Pipeline.h"

#include <iosfwd>
#include <sys/time.h>

namespace orvela {

/// Reads the wall clock; `gettimeofday` unless a test supplies another.
using WallClock = void (*)(timeval* now);

/// Counts the items passing through and, when `threshold` items have passed
/// since the last report, overwrites one status line on the stream:
///   "Throughput: <rate> states/sec, Load: <buffer size> states" + blanks + '\r'
/// where rate is the items per second since the last report, truncated. The
/// next report is due after `rate` more items, about one second later. The
/// first report comes after 1000 items. When no time has passed, nothing is
/// written and the threshold stays. Every item is passed on unchanged.
class Progress : public AbstractFilter {
public:
  /// `buffer` (not owned) is the waiting list whose size is the load.
  Progress(std::ostream& stream, const Buffer* buffer, WallClock clock = nullptr);

  bool tryPut(void* item) override;

  /// Takes the current time as the time of the last report and answers the
  /// seconds elapsed since the previous one.
  float reset();

  /// Items passed through since construction.
  unsigned total() const { return total_; }
  /// Items needed for the next report.
  unsigned threshold() const { return threshold_; }

private:
  std::ostream& stream_;
  const Buffer* buffer_;
  WallClock clock_;
  unsigned count_ = 0;
  unsigned threshold_ = 1000;
  unsigned total_ = 0;
  timeval last_;
};

/// Factories; each returns a new filter with reference count 0.
Filter* createProgress(std::ostream& stream, const Buffer* buffer);

} // namespace orvela

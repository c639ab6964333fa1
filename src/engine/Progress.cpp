#include "engine/Progress.h"

#include <limits>
#include <ostream>

namespace orvela {

namespace {

void systemClock(timeval* now) { gettimeofday(now, nullptr); }

} // namespace

Progress::Progress(std::ostream& stream, const Buffer* buffer, WallClock clock)
    : stream_(stream), buffer_(buffer), clock_(clock ? clock : systemClock) {
  clock_(&last_);
}

float Progress::reset() {
  timeval now;
  clock_(&now);
  const float elapsed =
      float(now.tv_sec - last_.tv_sec) + float(now.tv_usec - last_.tv_usec) / 1000000.0f;
  last_ = now;
  return elapsed;
}

bool Progress::tryPut(void* item) {
  if (count_ == threshold_) {
    const float elapsed = reset();
    if (elapsed > 0) {
      // The rate becomes the next threshold. It is kept at 1 or more (a rate
      // of 0 would never be reached again and silence the reporter for good)
      // and within range of the counter.
      const double rate = double(count_) / elapsed;
      const double highest = std::numeric_limits<unsigned>::max();
      const unsigned perSecond = rate >= highest ? unsigned(highest) : unsigned(rate);
      stream_ << "Throughput: " << perSecond << " states/sec, "
              << "Load: " << buffer_->getSize() << " states                    \r";
      threshold_ = perSecond > 0 ? perSecond : 1;
    }
    count_ = 0;
  }
  ++count_;
  ++total_;
  return passOn(item);
}

Filter* createProgress(std::ostream& stream, const Buffer* buffer) {
  return new Progress(stream, buffer);
}

} // namespace orvela

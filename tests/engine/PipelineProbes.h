#pragma once
// Probe members for the pipeline tests: sinks and filters that record what
// reaches them and count their live instances.

#include "engine/Pipeline.h"

#include <vector>

namespace orvela::test {

/// Counts the live instances of a probe, to prove that owners release them.
struct LiveCount {
  static inline int live = 0;
  LiveCount() { ++live; }
  LiveCount(const LiveCount&) { ++live; }
  ~LiveCount() { --live; }
};

/// Records every item and answers `answer`.
class RecordingSink : public PureSink, private LiveCount {
public:
  explicit RecordingSink(bool answer = true) : answer(answer) {}
  bool tryPut(void* item) override {
    items.push_back(item);
    return answer;
  }
  bool answer;
  std::vector<void*> items;
};

/// Records every sink attached, in order, and passes items to the last one.
class RecordingFilter : public Filter, private LiveCount {
public:
  void setSink(Sink* next) override { sinks.push_back(next); }
  bool tryPut(void* item) override {
    items.push_back(item);
    return sinks.empty() || sinks.back()->tryPut(item);
  }
  std::vector<Sink*> sinks;
  std::vector<void*> items;
};

/// Any address usable as an item.
inline void* item(int& value) { return &value; }

} // namespace orvela::test

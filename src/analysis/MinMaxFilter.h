#pragma once
// Observers of a reachability search that collect the smallest and largest
// value of chosen integer variables or clocks over the states it explores,
// optionally only where a process is in a given location.

#include "engine/Pipeline.h"

#include <climits>
#include <list>
#include <utility>

namespace orvela {

class GlobalState;

/// Passes every state on after updating its watch entries, so the collector
/// can stand between a search and its query.
class MinMaxFilter : public Filter {
public:
  /// A watched item: a process (-1 for any location), the location it must be
  /// in, and the integer variable or clock watched.
  struct PLV {
    int process;
    int location;
    int variable;
  };
  /// A watched item and the (minimum, maximum) seen so far.
  using Watch = std::pair<PLV, std::pair<int, int>>;
  /// The pair before any value is seen.
  static constexpr std::pair<int, int> nothingSeen{INT_MAX, INT_MIN};

  /// One entry per item, each inserted at the front, so the entries are in
  /// the reverse order of `items`.
  explicit MinMaxFilter(const std::list<PLV>& items);

  /// Replaces the sink.
  void setSink(Sink* next) override { sink_ = next; }
  /// `tryPut(GlobalState*)`: updates every entry whose location condition the
  /// state meets, then answers the sink's answer.
  bool tryPut(void* item) override;

  const std::list<Watch>& watches() const { return watches_; }

protected:
  /// Updates `entry` from `state`, whose location condition holds.
  virtual void collect(Watch& entry, const GlobalState* state) = 0;
  /// Widens the entry's pair to include [low, high].
  static void include(Watch& entry, int low, int high);

private:
  Sink* sink_ = nullptr;
  std::list<Watch> watches_;
};

/// Watches integer variables: the value in each matching state. A variable
/// index outside the state's integers is ignored.
class IntegerMinMaxFilter final : public MinMaxFilter {
public:
  using MinMaxFilter::MinMaxFilter;

protected:
  void collect(Watch& entry, const GlobalState* state) override;
};

/// Watches clocks: the range of the clock in the zone of each matching state
/// (unpacked), its bounds halved with the strictness ignored; a clock without
/// upper bound has the maximum 1073741823. A clock index outside the zone
/// is ignored.
class ClockMinMaxFilter final : public MinMaxFilter {
public:
  using MinMaxFilter::MinMaxFilter;

protected:
  void collect(Watch& entry, const GlobalState* state) override;
};

} // namespace orvela

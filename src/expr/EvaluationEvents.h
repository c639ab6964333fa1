#pragma once
// Events of integer evaluation that the model's semantics absorb quietly: a
// result that wrapped around, a value clamped into its variable's range, an
// array index clamped into the array. The server keeps these semantics; the
// verifier reports how often each happened and where first, so that a user
// learns that a verdict rests on them.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvela {

/// Kinds of evaluation event.
enum class EvaluationEvent { overflow, valueClamped, indexClamped };

inline constexpr int evaluationEventKinds = 3;

/// Counts of the events of one model, each with the place where it first
/// happened. Places are registered while the model is built.
class EvaluationEvents {
public:
  /// How often one kind happened, and the place of the first one (empty
  /// while the count is 0).
  struct Tally {
    std::uint64_t count = 0;
    std::string where;
  };

  /// Registers a place (e.g. "line 4 in process P") and answers its number;
  /// the same text as the previous registration answers the same number.
  int addPlace(const std::string& where);
  /// Counts one event of `kind` at place `place`.
  void note(EvaluationEvent kind, int place) {
    Counter& counter = counters_[static_cast<std::size_t>(kind)];
    if (counter.count++ == 0)
      counter.firstPlace = place;
  }
  /// The tally of `kind`.
  Tally tally(EvaluationEvent kind) const;

private:
  struct Counter {
    std::uint64_t count = 0;
    int firstPlace = 0;
  };
  std::array<Counter, evaluationEventKinds> counters_{};
  std::vector<std::string> places_;
};

/// Where an expression node reports its events: the model's counters and the
/// node's place. A default site reports nowhere (expressions built outside a
/// model, e.g. of properties).
struct EventSite {
  std::shared_ptr<EvaluationEvents> events;
  int place = 0;

  /// Counts `kind` when the site reports somewhere.
  void note(EvaluationEvent kind) const {
    if (events)
      events->note(kind, place);
  }
};

} // namespace orvela

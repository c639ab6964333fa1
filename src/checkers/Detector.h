#pragma once
// The witness detector of the liveness search: it looks at every successor
// the search produces and recognises the three ends of a run along which the
// property holds forever: time passing without bound, a deadlock, and a loop
// back onto the search path.

#include "checkers/CDDDeadlockExpr.h"
#include "checkers/FrontStack.h"
#include "checkers/PathStep.h"
#include "checkers/RestrictedDelayFilter.h"
#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"

#include <list>
#include <optional>
#include <utility>

namespace orvela {

/// One state of a loop under examination: the state's path step (its move
/// and its state, neither owned) and a shrinking set of its valuations, kept
/// in a heap copy of the state (owned).
struct PreNode {
  const PathStep* step;
  const MoveSuccessor* examined; ///< set instead of `step` for the loop's end
  GlobalState* zone;

  const GlobalState* state() const { return step ? step->successor.state : examined->state; }
  const Transition* const* move() const { return step ? step->edges() : examined->move; }
};

/// `tryPut(MoveSuccessor*)`: with s the successor's state, reports to the
/// sink the pair of trace identifiers (loop start, loop end) as a
/// `std::pair<int, int>*`, when
///   1. time may pass in s and no clock is bounded in it: (id s, id s);
///   2. otherwise, some valuation of s is deadlocked and the property holds
///      all along its remaining delay: (id s, id s);
///   3. otherwise, a path node n with the same discrete part and a zone
///      meeting s's is `prestabilizable`: (id n, id s).
/// Answers true. The states seen are not kept.
class Detector final : public AbstractFilter {
public:
  /// `restricted` tells where time may pass; `path` is the search path. The
  /// deadlock predicate inside brings its own diagram library.
  Detector(const Pointer<System>& system, FrontStack& path, const RestrictedDelayFilter& restricted,
           const Pointer<Allocator>& allocator);
  ~Detector() override;

  /// Keeps the negation of the property.
  void setExpression(const Pointer<TCTLExpression>& property);

  bool tryPut(void* item) override;

  /// Whether some valuation of `state` can take no move, now or after any
  /// delay, and the property holds at every instant of its remaining delay.
  /// The deadlocked valuations are the deadlock predicate's: the moves are
  /// taken from every valuation that waiting reaches, and the valuations a
  /// move is taken back to are limited to those before they are removed
  /// (taking back a clock reset forgets the clock's value).
  /// Throws `RuntimeError` when the diagram library fails.
  bool deadlocked(const GlobalState* state);
  /// Whether some valuation of the successor being examined (which has the
  /// discrete part of `node`) goes round the loop from `node` along the path
  /// to the examined successor, and back, forever. True at once when the
  /// successor's zone includes (or equals) the node's. Otherwise the
  /// valuations of every state of the loop that cannot reach the next
  /// state's set are removed, pass after pass, until some state's set is
  /// reached whole (true) or one becomes empty (false). A loop that needs
  /// more than `maxPasses` passes is answered false: the search then goes on
  /// from the successor, and a loop that can be taken forever closes on a
  /// path state with an equal zone after finitely many rounds.
  bool prestabilizable(const FrontStack::Node& node);

  /// The bound on the passes of `prestabilizable`.
  static constexpr int maxPasses = 256;

private:
  /// The valuations of `to` from which the move into `from` and a delay
  /// reach `from`'s set. Answers their relation to `to`'s set, `superset`
  /// or `equal`, when they cover all of it; otherwise narrows `to`'s set to
  /// them and answers `none`, or nothing when the set became empty.
  std::optional<Inclusion> narrow(const PreNode& from, PreNode& to);
  PreNode preNode(const PathStep* step, const MoveSuccessor* examined);
  void emit(int from, int to);

  Pointer<System> system_;
  FrontStack& path_;
  const RestrictedDelayFilter& restricted_;
  StateBlocks blocks_;
  Pointer<CDDDeadlockExpr> deadlock_;
  Pointer<TCTLExpression> negated_;
  const MoveSuccessor* examined_ = nullptr;
};

/// Frees the zones of the pre-nodes and empties the list.
void freeLoop(std::list<PreNode>& loop);

/// A new detector (reference count 0).
Detector* createDetector(const Pointer<System>& system, FrontStack& path,
                         const RestrictedDelayFilter& restricted,
                         const Pointer<Allocator>& allocator);

} // namespace orvela

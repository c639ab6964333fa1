#pragma once
// Property formulas: trees of clock constraints, integer conditions, the
// deadlock predicate, conjunctions and disjunctions. Model clock guards and
// invariants are formulas too. A formula restricts a state's zone to where it
// holds, may split a state in several, and can be negated and brought into
// disjunctive normal form.

#include "base/Object.h"

#include <iosfwd>
#include <list>
#include <set>
#include <vector>

namespace orvela {

class Allocator;
class GlobalState;
class PublicState;
class TCTLExpression;
class TCTLVisitor;

/// States that a formula filters, each a block from the allocator passed
/// along with the list.
using StateList = std::list<GlobalState*>;
/// A conjunction of atomic formulas.
using Conjunction = std::vector<Pointer<TCTLExpression>>;
/// A disjunction of conjunctions.
using NormalForm = std::vector<Conjunction>;

/// Abstract formula, shared through `Pointer` and immutable once built.
class TCTLExpression : public Object {
public:
  /// Kinds answered by `getType`.
  static constexpr int clockType = 0;
  static constexpr int andType = 1;
  static constexpr int orType = 2;
  static constexpr int deadlockType = 4; ///< the deadlock predicate and its negation
  static constexpr int adaptorType = 5;

  /// Composite nodes pass the visitor to their left and right operands, then
  /// call the visitor's hook for their own class.
  virtual void accept(TCTLVisitor& visitor) = 0;
  /// True for nodes without sub-formulas.
  virtual bool atomic() const = 0;
  /// The text form: "(" left " and "/" or " right ")" for the composites;
  /// atoms write nothing.
  virtual void print(std::ostream& out) const = 0;
  virtual int getType() const = 0;
  /// A new formula for the negation, sharing the operands.
  virtual Pointer<TCTLExpression> negate() = 0;
  /// Restricts the state's zone to where the formula holds (without closing
  /// it) and answers false when that made the zone empty. Integer and
  /// location conditions only answer. The state is a `GlobalState` view.
  virtual bool evaluate(PublicState* state) const = 0;
  /// Replaces the states of the list by the pieces of them where the formula
  /// holds, closed and non-empty; a state may be split into several. Every
  /// state that leaves the list goes back to `allocator`, and new pieces are
  /// taken from it: the list holds only blocks of `allocator`.
  virtual void evaluateMulti(StateList& states, Allocator* allocator) const = 0;
  /// Adds every clock the formula may mention.
  virtual void collectClocks(std::set<int>& clocks) = 0;
  /// Appends the formula in disjunctive normal form.
  virtual void normalise(NormalForm& out) = 0;
};

/// `print`.
std::ostream& operator<<(std::ostream& out, const TCTLExpression& expression);

/// Defaults for the formulas: an atom that prints nothing, filters a list
/// state by state, mentions no clock and is its own normal form.
class AbstractTCTLExpression : public TCTLExpression {
public:
  /// True.
  bool atomic() const override;
  /// Nothing.
  void print(std::ostream& out) const override;
  /// Keeps each state for which `evaluate` holds and which is then non-empty
  /// once closed (`GlobalState::ok`); the others go back to the allocator.
  void evaluateMulti(StateList& states, Allocator* allocator) const override;
  /// Nothing.
  void collectClocks(std::set<int>& clocks) override;
  /// One conjunction holding this formula.
  void normalise(NormalForm& out) override;
};

/// Gives a state of a `StateList` back: destroys it (its block holds all of
/// it) and returns the block to `allocator`.
void returnState(GlobalState* state, Allocator* allocator);

} // namespace orvela

#pragma once
// An edge of a process: source and target locations, integer and clock
// guards, synchronisation and updates, with their source texts.

#include "base/Object.h"
#include "expr/Expression.h"
#include "formula/TCTLExpression.h"
#include "model/ModelVisitor.h"

#include <iosfwd>
#include <set>
#include <string>

namespace orvela {

class PublicState;

/// One edge. The parser fills the syntactic parts; `Process::buildProcess`
/// attaches it to its process and derives the clock sets.
class Transition : public Object, public ModelElement {
public:
  Transition();
  ~Transition() override;

  /// Calls `visitTransition`.
  void accept(ModelVisitor& visitor) override;

  /// True when there is no integer guard or it evaluates to non-zero.
  bool evalIntegerGuards(const PublicState* state) const;
  /// True when there is no clock guard; otherwise the clock guard evaluated
  /// on `state`, which restricts the state's zone.
  bool evalClockGuards(PublicState* state) const;
  /// Applies the updates, if any, to `state` (their value is discarded).
  void resetAssigns(PublicState* state) const;
  /// What the updates do to the clocks, from `state`: out[c] becomes k for a
  /// clock c reset to k and grows by k for a shift by k, and a clock copied
  /// from another takes that clock's entry; other clocks keep their value.
  /// `state`, whose model has `integers` integer values, does not change.
  void indicateResets(const PublicState* state, int integers, float* out) const;
  /// Recomputes the used and reset clock sets from the clock guard and the
  /// updates.
  void update();
  /// Diagnostic line: "P.source->P.target { guard, sync[, updates] }" after
  /// `indent` tabs.
  void display(std::ostream& out, int indent) const;
  /// Not to be used: throws `Bug`.
  void print(std::ostream& out) const;

  void setSource(short source) { source_ = source; }
  void setTarget(short target) { target_ = target; }
  short getSource() const { return source_; }
  short getTarget() const { return target_; }
  void setProcessIndex(int index) { processIndex_ = index; }
  int getProcessIndex() const { return processIndex_; }
  void setIndex(int index) { index_ = index; }
  int getIndex() const { return index_; }
  /// The owning process. Not an owning reference: the process owns its edges.
  void setProcessObject(Process* process) { process_ = process; }
  Process* getProcessObject() const { return process_; }

  /// The synchronisation: 0 none, +id send, -id receive on channel id.
  void setSync(const Pointer<Expression>& sync, const char* text);
  void setGuard(const Pointer<Expression>& integerGuard, const Pointer<TCTLExpression>& clockGuard,
                const char* text);
  void setAssignment(const Pointer<Expression>& assignment, const char* text);
  const Pointer<Expression>& getSync() const { return sync_; }
  const Pointer<Expression>& getIntegerGuard() const { return integerGuard_; }
  const Pointer<TCTLExpression>& getClockGuard() const { return clockGuard_; }
  const Pointer<Expression>& getAssignment() const { return assignment_; }
  const std::string& getGuardText() const { return guardText_; }
  const std::string& getSyncText() const { return syncText_; }
  const std::string& getAssignmentText() const { return assignmentText_; }

  /// Clocks read before any reset by the edge.
  const std::set<int>& getUsedClocks() const { return used_; }
  /// Clocks the edge definitely resets.
  const std::set<int>& getResetClocks() const { return reset_; }

private:
  std::string guardText_;
  std::string syncText_;
  std::string assignmentText_;
  short source_ = -1;
  short target_ = -1;
  int processIndex_ = -1;
  Process* process_ = nullptr;
  int index_ = -1;
  Pointer<Expression> sync_;
  Pointer<TCTLExpression> clockGuard_;
  Pointer<Expression> integerGuard_;
  Pointer<Expression> assignment_;
  std::set<int> used_;
  std::set<int> reset_;
};

} // namespace orvela

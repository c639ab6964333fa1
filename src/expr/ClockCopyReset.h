#pragma once
// The clock-to-clock update x := y.

#include "expr/Assignment.h"

namespace orvela {

/// destination := source for two clocks. Unlike the other clock updates it
/// rewrites a row and a column of the zone, so it needs the concrete state
/// behind the view: evaluated against a view without one it throws that
/// view's `Bug`.
class ClockCopyReset : public Assignment {
public:
  /// Both operands are clock-index expressions (a constant, or an element of
  /// a clock array).
  ClockCopyReset(const Pointer<Expression>& source, const Pointer<Expression>& destination);

  /// Visits only this node, not the operands.
  void accept(ExpressionVisitor& visitor) override;
  /// Makes the destination clock equal to the source clock in every valuation
  /// of the state's unpacked zone; the output is not written. No closure is
  /// run: a closed zone stays closed, and on a zone with a pending closure
  /// every pivot relaxes the destination's row and column exactly like the
  /// source's.
  void evaluate(PublicState* state, int* out) const override;
  /// Every clock the source may denote is used. The destination is a definite
  /// reset only when it denotes a single clock: an array element whose index
  /// varies resets one clock of several, none of them definitely.
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;
  /// Answers 4, the code of clocks.
  int getType() const;

  const Pointer<Expression>& getSource() const { return source_; }
  const Pointer<Expression>& getDestination() const { return destination_; }

private:
  Pointer<Expression> source_;
  Pointer<Expression> destination_;
};

} // namespace orvela

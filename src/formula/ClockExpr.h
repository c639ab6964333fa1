#pragma once
// The clock constraint x_i - x_j < bound or <= bound.

#include "expr/Expression.h"
#include "expr/OpType.h"
#include "formula/TCTLExpression.h"

namespace orvela {

class UnpackedRegion;

/// A clock difference constraint. The clocks and the bound are integer
/// expressions evaluated on the state (a plain clock is a constant, an
/// element of a clock array an index expression), so one constraint may
/// denote different clocks in different states.
class ClockExpr : public AbstractTCTLExpression {
public:
  /// x - y op c: "<=" and "<" give clock i = x, clock j = y, bound c; ">="
  /// and ">" give clock i = y, clock j = x, bound -c. Any other operator
  /// throws `Bug` "Unsupported operation for clock expression".
  ClockExpr(const Pointer<Expression>& x, OpType op, const Pointer<Expression>& y, int c);
  /// The four fields as given.
  ClockExpr(const Pointer<Expression>& i, const Pointer<Expression>& j,
            const Pointer<Expression>& bound, bool strict);

  void accept(TCTLVisitor& visitor) override;
  int getType() const override;
  /// x_j - x_i with the opposite strictness and the bound times -1 (a product
  /// expression): the complement of the constraint.
  Pointer<TCTLExpression> negate() override;
  /// Tightens the state's zone by the constraint, unclosed; false when a
  /// cycle through the opposite bound shows the zone empty.
  bool evaluate(PublicState* state) const override;
  /// Every clock in the value ranges of the two clock expressions.
  void collectClocks(std::set<int>& clocks) override;

  /// Tightens `region` (an unpacked zone, for instance a delayed copy of the
  /// state's) by the constraint evaluated on `state`, and closes it; false if
  /// it became empty. A lower bound on a clock (clock i is the reference
  /// clock) is applied non-strict: the test is made on the border of the
  /// zone.
  bool evaluateFuzzy(PublicState* state, UnpackedRegion* region) const;

  const Pointer<Expression>& getI() const { return i_; }
  const Pointer<Expression>& getJ() const { return j_; }
  const Pointer<Expression>& getBound() const { return bound_; }
  bool isStrict() const { return strict_; }

private:
  Pointer<Expression> i_;
  Pointer<Expression> j_;
  Pointer<Expression> bound_;
  bool strict_;
};

} // namespace orvela

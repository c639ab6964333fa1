#pragma once
// Double dispatch over the expression classes.

namespace orvela {

class AndExpression;
class ClockAssign;
class ClockCopyReset;
class ClockShiftReset;
class CommaExpression;
class ConditionalReset;
class Constant;
class ConstantArray;
class Difference;
class Divide;
class IfExpression;
class IntegerAssign;
class IntegerGuard;
class MaxExpression;
class MinExpression;
class NotExpression;
class Product;
class Range;
class StateExpression;
class Sum;
class Variable;

// Expression kinds that have a hook but no class in this system; the hooks
// keep the visitor interface complete and are never called.
class HeurAssign;
class CostExpression;
class HeurExpression;
class EstimateAssign;
class TransCostAssign;

/// Visitor over expression trees. Every hook does nothing by default;
/// implementations override the ones they need. Composite expressions pass the
/// visitor to their children before calling their own hook.
class ExpressionVisitor {
public:
  virtual ~ExpressionVisitor();

  virtual void visitAndExpression(AndExpression*) {}
  virtual void visitClockAssign(ClockAssign*) {}
  virtual void visitClockCopyReset(ClockCopyReset*) {}
  virtual void visitClockShiftReset(ClockShiftReset*) {}
  virtual void visitCommaExpression(CommaExpression*) {}
  virtual void visitConstant(Constant*) {}
  virtual void visitConstantArray(ConstantArray*) {}
  virtual void visitDifference(Difference*) {}
  virtual void visitDivide(Divide*) {}
  virtual void visitIfExpression(IfExpression*) {}
  virtual void visitIntegerAssign(IntegerAssign*) {}
  virtual void visitIntegerGuard(IntegerGuard*) {}
  virtual void visitMaxExpression(MaxExpression*) {}
  virtual void visitMinExpression(MinExpression*) {}
  virtual void visitProduct(Product*) {}
  virtual void visitRange(Range*) {}
  virtual void visitStateExpression(StateExpression*) {}
  virtual void visitSum(Sum*) {}
  virtual void visitVariable(Variable*) {}
  virtual void visitHeurAssign(HeurAssign*) {}
  virtual void visitCostExpression(CostExpression*) {}
  virtual void visitHeurExpression(HeurExpression*) {}
  virtual void visitEstimateAssign(EstimateAssign*) {}
  virtual void visitTransCostAssign(TransCostAssign*) {}
  virtual void visitNotExpression(NotExpression*) {}
  virtual void visitConditionalReset(ConditionalReset*) {}
};

} // namespace orvela

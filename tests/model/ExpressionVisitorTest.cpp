#include "model/ExpressionVisitor.h"

#include "model/Arrays.h"
#include "model/BinaryExpressions.h"
#include "model/ClockUpdates.h"
#include "model/CommaExpression.h"
#include "model/Constant.h"
#include "model/LogicExpressions.h"
#include "model/Range.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela {
namespace {

Pointer<Expression> number(int value) { return new Constant(value); }

class Recorder : public ExpressionVisitor {
public:
  std::string seen; ///< hook names, each followed by a blank
  void visitAndExpression(AndExpression*) override { seen += "And "; }
  void visitClockAssign(ClockAssign*) override { seen += "ClockAssign "; }
  void visitClockShiftReset(ClockShiftReset*) override { seen += "ClockShift "; }
  void visitCommaExpression(CommaExpression*) override { seen += "Comma "; }
  void visitConstant(Constant* c) override { seen += std::to_string(c->getValue()) + " "; }
  void visitDifference(Difference*) override { seen += "Difference "; }
  void visitDivide(Divide*) override { seen += "Divide "; }
  void visitIfExpression(IfExpression*) override { seen += "If "; }
  void visitIntegerAssign(IntegerAssign*) override { seen += "IntegerAssign "; }
  void visitIntegerGuard(IntegerGuard*) override { seen += "Guard "; }
  void visitMaxExpression(MaxExpression*) override { seen += "Max "; }
  void visitMinExpression(MinExpression*) override { seen += "Min "; }
  void visitProduct(Product*) override { seen += "Product "; }
  void visitRange(Range*) override { seen += "Range "; }
  void visitStateExpression(StateExpression*) override { seen += "State "; }
  void visitSum(Sum*) override { seen += "Sum "; }
  void visitVariable(Variable*) override { seen += "Variable "; }
  void visitNotExpression(NotExpression*) override { seen += "Not "; }
  void visitConditionalReset(ConditionalReset*) override { seen += "Conditional "; }
};

// Operators visit their operands left to right before themselves; leaves and
// updates visit only themselves (not an index, a clamped operand, a target).
TEST(ExpressionVisitor, VisitsOperandsLeftToRightBeforeTheOperator) {
  Pointer<Variable> indexed = new Variable(0, 4, 0, 9);
  indexed->refine(number(9), 4);
  const Pointer<IntegerGuard> guard = new IntegerGuard(number(1), opLess, number(2));
  const Pointer<Expression> choice = new IfExpression(
      guard, new NotExpression(new StateExpression(0, 0)), new AndExpression(number(6), number(7)));
  const Pointer<Expression> tree = new MaxExpression(
      new Sum(number(1), new Difference(indexed, number(2))),
      new MinExpression(new Product(number(3), new Divide(number(4), number(5))), choice));
  int values[2] = {1, 2};
  const Pointer<Expression> updates = new CommaExpression(
      new ConditionalReset(guard, new IntegerAssign(number(0), new ConstantArray(values, 2))),
      new CommaExpression(new ClockAssign(number(1), 0), new ClockShiftReset(number(2), 1)));
  CommaExpression all(new CommaExpression(tree, updates), new Range(number(5), 1, 0, 3, 1));
  Recorder recorder;
  all.accept(recorder);
  EXPECT_EQ(recorder.seen, "1 Variable 2 Difference Sum 3 4 5 Divide Product Guard State Not 6 7 "
                           "And If Min Max Guard IntegerAssign Conditional ClockAssign ClockShift "
                           "Comma Comma Comma Range Comma ");
}

} // namespace
} // namespace orvela

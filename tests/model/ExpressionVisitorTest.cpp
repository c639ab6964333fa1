#include "model/ExpressionVisitor.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/Assignment.h"
#include "model/BinaryExpressions.h"
#include "model/ClockUpdates.h"
#include "model/CommaExpression.h"
#include "model/LogicExpressions.h"
#include "model/Range.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvela {
namespace {

using test::constant;

class Recorder : public ExpressionVisitor {
public:
  std::vector<std::string> seen;
  void visitAndExpression(AndExpression*) override { seen.push_back("And"); }
  void visitClockAssign(ClockAssign*) override { seen.push_back("ClockAssign"); }
  void visitClockShiftReset(ClockShiftReset*) override { seen.push_back("ClockShift"); }
  void visitCommaExpression(CommaExpression*) override { seen.push_back("Comma"); }
  void visitConstant(Constant* c) override { seen.push_back(std::to_string(c->getValue())); }
  void visitConstantArray(ConstantArray*) override { seen.push_back("ConstantArray"); }
  void visitDifference(Difference*) override { seen.push_back("Difference"); }
  void visitDivide(Divide*) override { seen.push_back("Divide"); }
  void visitIfExpression(IfExpression*) override { seen.push_back("If"); }
  void visitIntegerAssign(IntegerAssign*) override { seen.push_back("IntegerAssign"); }
  void visitIntegerGuard(IntegerGuard*) override { seen.push_back("Guard"); }
  void visitMaxExpression(MaxExpression*) override { seen.push_back("Max"); }
  void visitMinExpression(MinExpression*) override { seen.push_back("Min"); }
  void visitProduct(Product*) override { seen.push_back("Product"); }
  void visitRange(Range*) override { seen.push_back("Range"); }
  void visitStateExpression(StateExpression*) override { seen.push_back("State"); }
  void visitSum(Sum*) override { seen.push_back("Sum"); }
  void visitVariable(Variable*) override { seen.push_back("Variable"); }
  void visitNotExpression(NotExpression*) override { seen.push_back("Not"); }
  void visitConditionalReset(ConditionalReset*) override { seen.push_back("Conditional"); }
};

std::vector<std::string> visit(Expression& e) {
  Recorder recorder;
  e.accept(recorder);
  return recorder.seen;
}

TEST(ExpressionVisitor, OperatorsVisitOperandsLeftToRightBeforeThemselves) {
  Pointer<Variable> indexed = new Variable(0, 4, 0, 9);
  indexed->refine(constant(9), 4);
  const Pointer<IntegerGuard> guard = new IntegerGuard(constant(1), opLess, constant(2));
  MaxExpression tree(
      new Sum(constant(1), new Difference(indexed, constant(2))),
      new MinExpression(new Product(constant(3), new Divide(constant(4), constant(5))),
                        new IfExpression(guard, new NotExpression(new StateExpression(0, 0)),
                                         new AndExpression(constant(6), constant(7)))));
  EXPECT_EQ(visit(tree), (std::vector<std::string>{"1", "Variable", "2", "Difference", "Sum", "3",
                                                   "4", "5", "Divide", "Product", "Guard", "State",
                                                   "Not", "6", "7", "And", "If", "Min", "Max"}));
}

TEST(ExpressionVisitor, LeavesAndUpdatesDoNotVisitTheirOperands) {
  int values[2] = {1, 2};
  Pointer<ConstantArray> table = new ConstantArray(values, 2);
  table->refine(constant(1), 2);
  const Pointer<IntegerGuard> guard = new IntegerGuard(constant(1), opLess, constant(2));
  CommaExpression updates(
      new CommaExpression(new ConditionalReset(guard, new IntegerAssign(constant(0), table)),
                          new ClockAssign(constant(1), 0)),
      new CommaExpression(new ClockShiftReset(constant(2), 1), new Range(constant(5), 1, 0, 3, 1)));
  EXPECT_EQ(visit(updates),
            (std::vector<std::string>{"Guard", "IntegerAssign", "Conditional", "ClockAssign",
                                      "Comma", "ClockShift", "Range", "Comma", "Comma"}));
  EXPECT_EQ(visit(*table), std::vector<std::string>{"ConstantArray"});
}

} // namespace
} // namespace orvela

#include "language/PropertyBuilder.h"

#include "dbm/RawBound.h"
#include "expr/Arrays.h"
#include "expr/Constant.h"
#include "expr/Guard.h"
#include "expr/LogicExpressions.h"
#include "expr/OpType.h"
#include "formula/AndExpr.h"
#include "formula/ClockExpr.h"
#include "formula/OrExpr.h"
#include "formula/TCTLExpressionAdaptor.h"
#include "language/PropertyParserState.h"
#include "model/SymbolTable.h"

namespace orvela {

template <class T> T* PropertyBuilder::keep(T* object) { return state_.arena.keep(object); }

TCTLExpression* PropertyBuilder::location(int reference) {
  const auto process = static_cast<unsigned int>(reference) >> 16;
  const auto index = static_cast<unsigned int>(reference) & 0xffffu;
  return keep(new TCTLExpressionAdaptor(new StateExpression(process, index)));
}

TCTLExpression* PropertyBuilder::truth() {
  return keep(new TCTLExpressionAdaptor(new Constant(1)));
}

TCTLExpression* PropertyBuilder::falsity() {
  return keep(new TCTLExpressionAdaptor(new Constant(0)));
}

TCTLExpression* PropertyBuilder::negation(TCTLExpression* formula) {
  return keep(formula->negate().get());
}

TCTLExpression* PropertyBuilder::conjunction(TCTLExpression* left, TCTLExpression* right) {
  return keep(new AndExpr(left, right));
}

TCTLExpression* PropertyBuilder::disjunction(TCTLExpression* left, TCTLExpression* right) {
  return keep(new OrExpr(left, right));
}

TCTLExpression* PropertyBuilder::implication(TCTLExpression* left, TCTLExpression* right) {
  return disjunction(negation(left), right);
}

TCTLExpression* PropertyBuilder::deadlock() {
  if (state_.property.liveness) {
    state_.semanticError("deadlock is only allowed in E<> and A[] properties");
    return nullptr;
  }
  if (!state_.system || !state_.deadlock) {
    state_.semanticError("deadlock needs a loaded system and a checker");
    return nullptr;
  }
  return keep(state_.deadlock().get());
}

TCTLExpression* PropertyBuilder::clockConstraint(const Expr& x, int op, const Expr* y, int c) {
  if (x.dimensions || (y && y->dimensions)) {
    state_.semanticError("clock array used without all its indices");
    return nullptr;
  }
  if (c < -maximalClockConstant || c > maximalClockConstant) {
    state_.semanticError("clock bound out of range");
    return nullptr;
  }
  const Pointer<Expression> i = x.expression;
  const Pointer<Expression> j = y ? Pointer<Expression>(y->expression) : new Constant(0);
  switch (op) {
  case opEqual:
    return conjunction(keep(new ClockExpr(i, opGreaterEqual, j, c)),
                       keep(new ClockExpr(i, opLessEqual, j, c)));
  case opNotEqual:
    return disjunction(keep(new ClockExpr(i, opGreater, j, c)),
                       keep(new ClockExpr(i, opLess, j, c)));
  default:
    return keep(new ClockExpr(i, static_cast<OpType>(op), j, c));
  }
}

TCTLExpression* PropertyBuilder::integerConstraint(const Expr& left, int op, const Expr& right) {
  return keep(new TCTLExpressionAdaptor(
      new IntegerGuard(left.expression, static_cast<OpType>(op), right.expression)));
}

bool PropertyBuilder::value(Expr& result, const Symbol& symbol) {
  return expr_symbol_value(state_.arena, result, symbol) ||
         state_.semanticError("a value must be an integer, a constant or an array of them");
}

bool PropertyBuilder::index(Expr& result, const Expr& array, const Expr& index) {
  if (!array.dimensions || !dynamic_cast<Array*>(array.expression))
    return state_.semanticError("indexing something that is not an array");
  expr_array_index(state_.arena, result, array, index, state_.property.lines + 1);
  return true;
}

bool PropertyBuilder::scalar(const Expr& term) {
  if (term.dimensions)
    return state_.semanticError("array used as a value without all its indices");
  return true;
}

bool PropertyBuilder::arithmetic(Expr& result, Expr& left, Expr& right,
                                 void (*build)(ParseArena&, Expr&, Expr&, Expr&)) {
  if (!expr_depth_allows(state_.arena, left, right))
    return state_.semanticError("expression nested too deeply");
  build(state_.arena, result, left, right);
  return expr_fits(result) || state_.semanticError("integer overflow in constant expression");
}

bool PropertyBuilder::minus(Expr& result, Expr& operand) {
  if (!expr_negation_fits(operand))
    return state_.semanticError("integer overflow in constant expression");
  expr_scalar_negate(state_.arena, result, operand);
  return true;
}

bool PropertyBuilder::constantValue(const Expr& bound, int& result) {
  if (!bound.expression->isConstant())
    return state_.semanticError("the bound of a clock constraint must be constant");
  result = bound.expression->evaluateScalar(nullptr);
  return true;
}

bool PropertyBuilder::indexClock(Expr& result, Expr& clock, const Expr& index) {
  if (!clock.dimensions)
    return state_.semanticError("indexing a clock that is not an array");
  Expr position = index;
  expr_dest_array_index(state_.arena, result, clock, position, state_.property.lines + 1);
  return true;
}

} // namespace orvela

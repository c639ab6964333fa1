#pragma once
// The actions of the property grammar: formulas from location references,
// integer conditions and clock constraints, and the integer and clock
// references they are made of. Everything built is owned by the parse arena;
// the grammar keeps raw pointers on its value stack.

#include "language/ExpressionBuilders.h"

namespace orvela {

class PropertyParserState;
class TCTLExpression;
struct Symbol;

/// Builder of the formulas of one property. Every operation that answers
/// false or null has reported the error ("Bad property") through the state.
class PropertyBuilder {
public:
  explicit PropertyBuilder(PropertyParserState& state) : state_(state) {}

  // Formulas.

  /// True when process (reference >> 16) is in location (reference & 0xffff).
  TCTLExpression* location(int reference);
  /// The formula that always holds.
  TCTLExpression* truth();
  /// The formula that never holds.
  TCTLExpression* falsity();
  /// The negation of `formula` (`negate`).
  TCTLExpression* negation(TCTLExpression* formula);
  TCTLExpression* conjunction(TCTLExpression* left, TCTLExpression* right);
  TCTLExpression* disjunction(TCTLExpression* left, TCTLExpression* right);
  /// left imply right: the disjunction of the negation of left and right.
  TCTLExpression* implication(TCTLExpression* left, TCTLExpression* right);
  /// The deadlock predicate of the system. An error under E[], A<> and
  /// leads-to (while `liveness` is set), and without a system.
  TCTLExpression* deadlock();

  /// x - y op c for the clock references x and y (`y` null: the reference
  /// clock): one clock constraint for <=, <, >=, >; the conjunction of >= and
  /// <= for ==; the disjunction of > and < for !=. Both references must be
  /// fully indexed, and c must lie within +-`maximalClockConstant`.
  TCTLExpression* clockConstraint(const Expr& x, int op, const Expr* y, int c);
  /// left op right over integers.
  TCTLExpression* integerConstraint(const Expr& left, int op, const Expr& right);

  // Integer expressions and clock references.

  /// A name used as a value: an integer, a constant or an array of integers
  /// or constants.
  bool value(Expr& result, const Symbol& symbol);
  /// array "[" index "]" of a readable array.
  bool index(Expr& result, const Expr& array, const Expr& index);
  /// A term used as an integer expression: it must not be an array that is
  /// not fully indexed.
  bool scalar(const Expr& term);
  /// left op right built by `build`, unless the tree would grow deeper than
  /// `maximalExpressionDepth` or the operands are constants whose result
  /// does not fit in an int.
  bool arithmetic(Expr& result, Expr& left, Expr& right,
                  void (*build)(ParseArena&, Expr&, Expr&, Expr&));
  /// - operand, unless the operand is a constant whose negation does not fit
  /// in an int.
  bool minus(Expr& result, Expr& operand);
  /// The value of a bound, which must be constant.
  bool constantValue(const Expr& bound, int& result);
  /// clock "[" index "]".
  bool indexClock(Expr& result, Expr& clock, const Expr& index);

private:
  template <class T> T* keep(T* object);

  PropertyParserState& state_;
};

} // namespace orvela

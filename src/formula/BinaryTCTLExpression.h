#pragma once
// What conjunction and disjunction share: two operands, their text form and
// their clocks.

#include "formula/TCTLExpression.h"

namespace orvela {

/// A formula with a left and a right operand.
class BinaryTCTLExpression : public AbstractTCTLExpression {
public:
  /// False.
  bool atomic() const override;
  /// "(" left " " connective " " right ")".
  void print(std::ostream& out) const override;
  /// Left's clocks, then right's.
  void collectClocks(std::set<int>& clocks) override;

  const Pointer<TCTLExpression>& getLeft() const { return left_; }
  const Pointer<TCTLExpression>& getRight() const { return right_; }

protected:
  /// `connective` is the word `print` writes between the operands.
  BinaryTCTLExpression(const Pointer<TCTLExpression>& left, const Pointer<TCTLExpression>& right,
                       const char* connective);
  /// Passes the visitor to the left and then the right operand.
  void acceptOperands(TCTLVisitor& visitor);

  Pointer<TCTLExpression> left_;
  Pointer<TCTLExpression> right_;

private:
  const char* connective_;
};

} // namespace orvela

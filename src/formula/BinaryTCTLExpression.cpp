#include "formula/BinaryTCTLExpression.h"

#include <ostream>

namespace orvela {

BinaryTCTLExpression::BinaryTCTLExpression(const Pointer<TCTLExpression>& left,
                                           const Pointer<TCTLExpression>& right,
                                           const char* connective)
    : left_(left), right_(right), connective_(connective) {}

bool BinaryTCTLExpression::atomic() const { return false; }

void BinaryTCTLExpression::print(std::ostream& out) const {
  out << '(' << *left_ << ' ' << connective_ << ' ' << *right_ << ')';
}

void BinaryTCTLExpression::collectClocks(std::set<int>& clocks) {
  left_->collectClocks(clocks);
  right_->collectClocks(clocks);
}

void BinaryTCTLExpression::acceptOperands(TCTLVisitor& visitor) {
  left_->accept(visitor);
  right_->accept(visitor);
}

} // namespace orvela

#include "expr/ExpressionVisitor.h"

namespace orvela {

ExpressionVisitor::~ExpressionVisitor() = default;

} // namespace orvela

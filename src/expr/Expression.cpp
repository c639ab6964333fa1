#include "expr/Expression.h"

namespace orvela {

void AbstractExpression::regClockUse(Process*, std::set<int>&, std::set<int>&) {}

int AtomicExpression::getSize() const { return 1; }

} // namespace orvela

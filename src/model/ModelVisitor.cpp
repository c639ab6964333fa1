#include "model/ModelVisitor.h"

namespace orvela {

ModelVisitor::~ModelVisitor() = default;

} // namespace orvela

#include "expr/UpdatePreview.h"

#include "expr/Assignment.h"
#include "expr/ClockCopyReset.h"
#include "expr/CommaExpression.h"

#include <vector>

namespace orvela {

void previewUpdates(const Expression& update, PublicState& view, const ClockCopyHandler& copy) {
  if (const auto* sequence = dynamic_cast<const CommaExpression*>(&update)) {
    previewUpdates(*sequence->getFirst(), view, copy);
    previewUpdates(*sequence->getSecond(), view, copy);
  } else if (const auto* conditional = dynamic_cast<const ConditionalReset*>(&update)) {
    if (conditional->getCondition()->evaluateScalar(&view) != 0)
      previewUpdates(*conditional->getAssignment(), view, copy);
  } else if (const auto* clockCopy = dynamic_cast<const ClockCopyReset*>(&update)) {
    copy(static_cast<unsigned int>(clockCopy->getDestination()->evaluateScalar(&view)),
         static_cast<unsigned int>(clockCopy->getSource()->evaluateScalar(&view)));
  } else {
    std::vector<int> scratch(static_cast<std::size_t>(std::max(update.getSize(), 1)));
    update.evaluate(&view, scratch.data());
  }
}

} // namespace orvela

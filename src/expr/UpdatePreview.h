#pragma once
// Applying an edge's updates to a state view that has no zone of its own, to
// learn what they do to the clocks.

#include "expr/Expression.h"

#include <functional>

namespace orvela {

/// Receives a clock copy: destination := source.
using ClockCopyHandler = std::function<void(unsigned int destination, unsigned int source)>;

/// Evaluates the updates `update` on `view` in order, except that every
/// clock copy (which needs a concrete zone) is handed to `copy` with its two
/// clocks evaluated on the view. Sequences are walked in order and a
/// conditional update is walked only when its condition holds on the view.
void previewUpdates(const Expression& update, PublicState& view, const ClockCopyHandler& copy);

} // namespace orvela

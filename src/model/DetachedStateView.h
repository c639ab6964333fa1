#pragma once
// The common part of the state views that preview an edge without touching a
// real state.

#include "symbolic/PublicState.h"

#include <vector>

namespace orvela {

/// A view over a private copy of a state's integers (the model's count of
/// them); locations are read from the source state, which must outlive the
/// view.
class DetachedStateView : public PublicState {
public:
  DetachedStateView(const PublicState* source, int integers);

  /// The private copy: integer updates never reach the source.
  int* getIntegerReference() override { return integers_.data(); }
  /// The source state's location.
  int getLocation(unsigned int process) const override { return source_->getLocation(process); }

private:
  std::vector<int> integers_;
  const PublicState* source_;
};

} // namespace orvela

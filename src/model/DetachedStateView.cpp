#include "model/DetachedStateView.h"

namespace orvela {

// The source is only read; the view's integer accessor is not const-qualified.
DetachedStateView::DetachedStateView(const PublicState* source, int integers) : source_(source) {
  const int* values = const_cast<PublicState*>(source)->getIntegerReference();
  integers_.assign(values, values + integers);
}

} // namespace orvela

#include "model/DetachedStateView.h"

#include "model/IntegerInfo.h"

namespace orvela {

// The source is only read; the view's integer accessor is not const-qualified.
DetachedStateView::DetachedStateView(const PublicState* source) : source_(source) {
  const int* values = const_cast<PublicState*>(source)->getIntegerReference();
  integers_.assign(values, values + IntegerInfo::integers.size());
}

} // namespace orvela

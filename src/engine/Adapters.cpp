#include "engine/Adapters.h"

namespace orvela {

PureSource* createNullSource() { return new NullSource(); }

} // namespace orvela

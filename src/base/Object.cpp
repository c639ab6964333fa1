#include "base/Object.h"

namespace orvela {

void Object::remove() { delete this; }

} // namespace orvela

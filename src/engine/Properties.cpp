#include "engine/Properties.h"

#include "base/Exceptions.h"

namespace orvela {

Object& objectOf(Sink* sink) {
  auto* object = dynamic_cast<Object*>(sink);
  if (!object)
    throw Bug("A sink that takes properties must be an object");
  return *object;
}

} // namespace orvela

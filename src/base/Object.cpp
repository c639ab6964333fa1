#include "base/Object.h"

namespace orvela {

void Object::setProperty(const char*, const void*) {}

void* Object::getProperty(const char*) const { return nullptr; }

void Object::remove() { delete this; }

} // namespace orvela

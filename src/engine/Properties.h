#pragma once
// Typed access to the untyped property values of pipeline members.
//
// `Object::setProperty(name, value)` takes a `const void*` whose meaning the
// name fixes. Two kinds are in use:
//   a pointer to a value    (bool, int, a record)   setValueProperty / propertyValue
//   an object pointer       (an allocator, a filter) setObjectProperty / propertyObject
// The helpers convert at exactly one place, so no call site casts by hand.
// An object pointer travels as a pointer to the declared type, never to a
// subclass, because a base of a class with several bases may not sit at
// offset 0: both ends name the declared type explicitly.

#include "base/Object.h"
#include "engine/Pipeline.h"

#include <type_traits>

namespace orvela {

/// The value a "pointer to T" property points to; `value` must not be null
/// (asserted). The receiver copies it during the call.
template <class T> const T& propertyValue(const void* value) {
  assert(value && "property value missing");
  return *static_cast<const T*>(value);
}

/// The object of an object-pointer property, declared as `T*` (may be null).
template <class T> T* propertyObject(const void* value) {
  return static_cast<T*>(const_cast<void*>(value));
}

/// Sets a "pointer to T" property to the address of `value`.
template <class T>
void setValueProperty(Object& target, const char* name, const std::type_identity_t<T>& value) {
  target.setProperty(name, static_cast<const void*>(&value));
}

/// Sets an object-pointer property; T is the declared type, given explicitly.
template <class T>
void setObjectProperty(Object& target, const char* name, std::type_identity_t<T>* object) {
  target.setProperty(name, static_cast<const void*>(object));
}

/// The object behind a sink that must be one (a member that passes the
/// property "allocator" on to its sink needs it); throws Bug otherwise.
Object& objectOf(Sink* sink);

/// Reads an object-pointer property declared as `T*` (null when unknown).
template <class T> T* getObjectProperty(const Object& source, const char* name) {
  return static_cast<T*>(source.getProperty(name));
}

} // namespace orvela

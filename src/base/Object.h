#pragma once
// The reference-counted root of every shared object (model elements, property
// formulas, pipeline members, allocators, trace stores) and its smart pointer.

#include <cassert>
#include <cstdint>
#include <utility>

namespace orvela {

/// Root class with an intrusive reference count.
/// The count is 0 at birth and only `Pointer` changes it; when the last
/// `Pointer` lets go, `remove()` disposes of the object.
class Object {
public:
  Object() = default;
  /// A copy is a new object: it starts unowned, whatever the original's count.
  Object(const Object&) noexcept {}
  Object& operator=(const Object&) noexcept { return *this; }
  virtual ~Object() { assert(refCount_ == 0 && "Object destroyed while still referenced"); }

  /// Disposes of the object once unreferenced. The default destroys it and
  /// frees its heap memory; objects placed in pooled or caller memory override.
  virtual void remove();

  int32_t referenceCount() const noexcept { return refCount_; }

private:
  template <class T> friend class Pointer;
  void acquire() noexcept { ++refCount_; }
  /// Drops one reference; disposes of the object when none are left.
  void release() {
    assert(refCount_ > 0 && "release of an unreferenced Object");
    if (--refCount_ == 0)
      remove();
  }

  int32_t refCount_ = 0;
};

/// Shared ownership of an `Object`. Assignment takes the new reference before
/// releasing the old one, so assigning an object to the pointer that already
/// holds it is safe.
template <class T> class Pointer {
public:
  Pointer() noexcept = default;
  Pointer(std::nullptr_t) noexcept {}
  Pointer(T* object) noexcept : object_(object) { take(); }
  Pointer(const Pointer& other) noexcept : object_(other.object_) { take(); }
  Pointer(Pointer&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U> Pointer(const Pointer<U>& other) noexcept : object_(other.get()) { take(); }
  ~Pointer() { drop(object_); }

  // Self-assignment is safe: `assign` takes the new reference first.
  Pointer& operator=(const Pointer& other) { // NOLINT(bugprone-unhandled-self-assignment)
    return assign(other.object_);
  }
  Pointer& operator=(Pointer&& other) noexcept {
    Pointer moved(std::move(other)); // releases the old object on leaving
    std::swap(object_, moved.object_);
    return *this;
  }
  Pointer& operator=(T* object) { return assign(object); }
  Pointer& operator=(std::nullptr_t) { return assign(nullptr); }
  template <class U> Pointer& operator=(const Pointer<U>& other) { return assign(other.get()); }

  T* get() const noexcept { return object_; }
  T* operator->() const noexcept { return object_; }
  T& operator*() const noexcept { return *object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }
  bool operator==(const Pointer& other) const noexcept { return object_ == other.object_; }
  bool operator==(std::nullptr_t) const noexcept { return object_ == nullptr; }

private:
  // The count belongs to the object, not to its constness.
  static Object* base(T* object) noexcept {
    return const_cast<Object*>(static_cast<const Object*>(object));
  }
  void take() noexcept {
    if (object_)
      base(object_)->acquire();
  }
  static void drop(T* object) {
    if (object)
      base(object)->release();
  }
  Pointer& assign(T* object) {
    T* old = object_;
    object_ = object;
    take();
    drop(old);
    return *this;
  }

  T* object_ = nullptr;
};

} // namespace orvela

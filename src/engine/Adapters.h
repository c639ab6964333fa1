#pragma once
// Small adapters at the edges of a network: a function object seen as a sink,
// and a source that never has anything.

#include "engine/Pipeline.h"

#include <type_traits>
#include <utility>

namespace orvela {

/// The item parameter of a callable with one pointer parameter: a function
/// pointer, or a class with one non-template call operator (a lambda).
template <class F> struct ItemParameter : ItemParameter<decltype(&F::operator())> {};
template <class R, class A> struct ItemParameter<R (*)(A)> { using type = A; };
template <class R, class C, class A> struct ItemParameter<R (C::*)(A)> { using type = A; };
template <class R, class C, class A> struct ItemParameter<R (C::*)(A) const> { using type = A; };

/// A sink that calls a copy of the function object `F` with each item and
/// answers its result converted to bool. `F` takes the item as `void*` or as
/// a pointer to the item type that the connection fixes (the cast to it is
/// made here, once).
template <class F> class FunctionToSinkAdapter final : public PureSink {
public:
  explicit FunctionToSinkAdapter(F function) : function_(std::move(function)) {}
  bool tryPut(void* item) override {
    if constexpr (std::is_invocable_v<F&, void*>)
      return static_cast<bool>(function_(item));
    else
      return static_cast<bool>(function_(static_cast<typename ItemParameter<F>::type>(item)));
  }

private:
  F function_;
};

/// A new adapter over a copy of `function` (reference count 0).
template <class F> FunctionToSinkAdapter<F>* createFunctionToSinkAdapter(F function) {
  return new FunctionToSinkAdapter<F>(std::move(function));
}

/// A source that has no items: `tryGet` answers false.
class NullSource final : public PureSource {
public:
  bool tryGet(void*) override { return false; }
};

/// A new empty source (reference count 0).
PureSource* createNullSource();

} // namespace orvela

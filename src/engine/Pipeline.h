#pragma once
// The interfaces of the exploration network. A producer pushes an item into a
// consumer with `tryPut`; a consumer that also produces passes it on to the
// consumer attached behind it, so a search runs depth-first through the
// network. Items are bare pointers handed on as `void*`; which type an item
// has is fixed by the members at both ends of a connection.
//
// Return convention of `tryPut`, binding for every member: true when the item
// was accepted and handled, false when it was rejected (a guard or invariant
// failed, the state was known already). A member that passes an item on
// answers its sink's answer; a false answer is final and nobody retries.

#include "base/Object.h"

#include <cstddef>

namespace orvela {

/// A consumer of items.
class Sink {
public:
  virtual ~Sink() = default;
  /// Consumes `item`. Whether ownership passes depends on the item's type and
  /// position in the network, never on this interface.
  virtual bool tryPut(void* item) = 0;
};

/// A producer that is pulled.
class Source {
public:
  virtual ~Source() = default;
  /// Writes the next item (a pointer) to `*out` and answers true, or answers
  /// false when no item is available, leaving `*out` unspecified.
  virtual bool tryGet(void* out) = 0;
};

/// A producer that pushes into an attached consumer.
class Generator {
public:
  virtual ~Generator() = default;
  /// Attaches the consumer of this object's output (not owned). Members that
  /// keep several sinks add one per call; others replace the earlier one.
  virtual void setSink(Sink* next) = 0;
};

/// A consumer that produces nothing.
class PureSink : public Object, public Sink {};

/// A producer that is pulled.
class PureSource : public Object, public Source {};

/// A member that consumes and produces.
class Filter : public Object, public Sink, public Generator {};

/// Items put in are later got out; the passed/waiting list is one.
class Buffer : public Object, public Sink, public Source {
public:
  /// The number of items held.
  virtual std::size_t getSize() const = 0;
};

/// A filter with one downstream sink. Every simple filter derives from it and
/// implements `tryPut`.
class AbstractFilter : public Filter {
public:
  /// Replaces the sink; null detaches.
  void setSink(Sink* next) override { sink = next; }

protected:
  /// Hands `item` to the sink and answers its answer. The sink must be set.
  template <class T> bool passOn(T* item) const {
    assert(sink && "filter used before its sink was attached");
    return sink->tryPut(static_cast<void*>(item));
  }

  /// The downstream consumer, not owned; null until attached.
  Sink* sink = nullptr;
};

/// A filter whose input items are `Item*`: the untyped `tryPut` stays here, at
/// the boundary, and `Derived` implements `bool put(Item* item)`. The call is
/// resolved statically, so a typed filter costs no second virtual call.
template <class Derived, class Item> class ItemFilter : public AbstractFilter {
public:
  bool tryPut(void* item) final {
    return static_cast<Derived*>(this)->put(static_cast<Item*>(item));
  }
};

/// A terminal consumer whose items are `Item*`; `Derived` implements
/// `bool put(Item* item)`.
template <class Derived, class Item> class ItemSink : public PureSink {
public:
  bool tryPut(void* item) final {
    return static_cast<Derived*>(this)->put(static_cast<Item*>(item));
  }
};

} // namespace orvela

#pragma once
// The handle through which successor computation reads a state it does not
// own, one half at a time.

#include "base/Object.h"

namespace orvela {

class GlobalState;

/// A reference to a stored state, handed out by the passed/waiting list.
class GlobalStateReference : public Object {
public:
  /// Copies the locations, integers and trace identifier into `target`.
  virtual void writeDiscreteTo(GlobalState* target) = 0;
  /// Writes the zone, unpacked and closed, into target's unpacked region.
  virtual void writeSymbolicTo(GlobalState* target) = 0;
  /// The store flag of the referenced entry.
  virtual bool getFlag() = 0;
  /// Lets go of the entry: `drop` forgets it, otherwise it is kept as passed.
  virtual void release(bool drop) = 0;
};

/// A reference over a plain state that nobody stores: both halves are read
/// from the state, the flag is true and release does nothing.
class GlobalStateReferenceWrapper final : public GlobalStateReference {
public:
  explicit GlobalStateReferenceWrapper(const GlobalState* state) : state_(state) {}

  void writeDiscreteTo(GlobalState* target) override;
  void writeSymbolicTo(GlobalState* target) override;
  bool getFlag() override { return true; }
  void release(bool) override {}

  const GlobalState* getState() const { return state_; }

private:
  const GlobalState* state_;
};

} // namespace orvela

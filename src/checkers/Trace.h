#pragma once
// A diagnostic trace: the sequence of moves (each a null-terminated list of
// the edges taken together) from the initial state to a state of interest,
// read forwards one step at a time.

#include "base/Object.h"

namespace orvela {

class Transition;

/// A cursor over the steps of a trace.
class Trace : public Object {
public:
  /// Goes back to the first step.
  virtual void reset() = 0;
  /// Goes to the next step; no effect at the end.
  virtual void next() = 0;
  /// The number of steps.
  virtual int getLength() const = 0;
  /// The null-terminated edge list of the current step; at the end the empty
  /// list. The list stays owned by the trace (or its store).
  virtual const Transition* const* getCurrent() const = 0;
  virtual bool atEnd() const = 0;

  /// The empty edge list.
  static const Transition* const* noMoves() { return noMoves_; }

private:
  static constexpr const Transition* noMoves_[1] = {nullptr};
};

/// A trace without steps.
class NullTrace final : public Trace {
public:
  void reset() override {}
  void next() override {}
  int getLength() const override { return 0; }
  const Transition* const* getCurrent() const override { return noMoves(); }
  bool atEnd() const override { return true; }
};

/// All steps of `first`, then all steps of `second`. Parts without steps are
/// passed over, so the concatenation is at its end exactly when no step is
/// left.
class ConcatTrace final : public Trace {
public:
  ConcatTrace(const Pointer<Trace>& first, const Pointer<Trace>& second);

  /// Resets both parts and goes to the first step.
  void reset() override;
  void next() override;
  int getLength() const override { return first_->getLength() + second_->getLength(); }
  const Transition* const* getCurrent() const override {
    return current_ ? current_->getCurrent() : noMoves();
  }
  bool atEnd() const override { return current_ == nullptr; }

private:
  /// Moves past parts that are at their end.
  void settle();

  Pointer<Trace> first_;
  Pointer<Trace> second_;
  Pointer<Trace> current_;
};

/// `b` when `a` has no steps, `a` when `b` has none, otherwise a new
/// `ConcatTrace` of both.
Pointer<Trace> concat(const Pointer<Trace>& a, const Pointer<Trace>& b);

} // namespace orvela

#pragma once
// The view through which guards, updates, invariants and state predicates read
// and change a symbolic state without knowing its concrete type.

namespace orvela {

class GlobalState;

/// Abstract state view: the integer valuation, the locations, the clock zone
/// (constrain, reset, shift), a heuristic value and a cost. The view owns
/// nothing; the model never deletes a state through a `PublicState*`.
class PublicState {
public:
  /// Address of the first value of the integer vector; integer variable k
  /// lives at offset k. Integer expressions read, and integer updates write,
  /// through this pointer.
  virtual int* getIntegerReference() = 0;
  /// Adds the constraint clock i - clock j bounded by the raw bound `raw`
  /// (twice the constant, plus one when non-strict). False when the zone has
  /// become empty.
  virtual bool tighten(unsigned int i, unsigned int j, int raw) = 0;
  /// Sets `clock` to `value` in every valuation of the zone.
  virtual void reset(unsigned int clock, int value) = 0;
  /// Shifts `clock` by `delta` in every valuation of the zone.
  virtual void offset(unsigned int clock, int delta) = 0;
  /// Index of the current location of process `process`.
  virtual int getLocation(unsigned int process) const = 0;
  /// The concrete symbolic state behind the view, for operations that need the
  /// whole zone. A view without one throws `Bug`.
  virtual GlobalState* getGlobalState() = 0;

  virtual ~PublicState() = default;
};

} // namespace orvela

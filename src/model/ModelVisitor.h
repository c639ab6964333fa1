#pragma once
// Double dispatch over the elements of a loaded model: the system, its
// processes, their locations and their edges.

namespace orvela {

class ControlState;
class Process;
class System;
class Transition;

/// Visitor over a model. Every hook does nothing by default.
class ModelVisitor {
public:
  virtual ~ModelVisitor();

  virtual void visitSystem(System*) {}
  virtual void visitProcess(Process*) {}
  virtual void visitControlState(ControlState*) {}
  virtual void visitTransition(Transition*) {}
};

/// An element of a model that a `ModelVisitor` can visit.
class ModelElement {
public:
  /// Visits the element's parts (where it has any), then calls the visitor's
  /// hook for the element itself.
  virtual void accept(ModelVisitor& visitor) = 0;

protected:
  ~ModelElement() = default;
};

} // namespace orvela

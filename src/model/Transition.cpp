#include "model/Transition.h"

#include "base/Exceptions.h"
#include "expr/UpdatePreview.h"
#include "formula/TCTLExpression.h"
#include "model/ControlState.h"
#include "model/Process.h"
#include "model/ResetIndicator.h"

#include <ostream>
#include <vector>

namespace orvela {

Transition::Transition() = default;

Transition::~Transition() = default;

void Transition::accept(ModelVisitor& visitor) { visitor.visitTransition(this); }

// Guards only read the state; the view's interface is not const-qualified.
bool Transition::evalIntegerGuards(const PublicState* state) const {
  return !integerGuard_ || integerGuard_->evaluateScalar(const_cast<PublicState*>(state)) != 0;
}

bool Transition::evalClockGuards(PublicState* state) const {
  return !clockGuard_ || clockGuard_->evaluate(state);
}

// Runs once per successor in a search: the discarded value goes to the stack
// unless an update is wider than any the parser builds.
void Transition::resetAssigns(PublicState* state) const {
  if (!assignment_)
    return;
  constexpr int stackScratch = 16;
  const int size = assignment_->getSize();
  if (size <= stackScratch) {
    int scratch[stackScratch];
    assignment_->evaluate(state, scratch);
  } else {
    std::vector<int> scratch(static_cast<std::size_t>(size));
    assignment_->evaluate(state, scratch.data());
  }
}

void Transition::indicateResets(const PublicState* state, int integers, float* out) const {
  if (!assignment_)
    return;
  ResetIndicator indicator(state, integers, out);
  previewUpdates(*assignment_, indicator, [out](unsigned int destination, unsigned int source) {
    out[destination] = out[source];
  });
}

void Transition::update() {
  used_.clear();
  reset_.clear();
  if (clockGuard_)
    clockGuard_->collectClocks(used_);
  if (assignment_)
    assignment_->regClockUse(process_, used_, reset_);
}

void Transition::display(std::ostream& out, int indent) const {
  const std::string tabs(static_cast<std::size_t>(std::max(indent, 0)), '\t');
  const char* process = process_ ? process_->getName() : "";
  const auto location = [this](short index) {
    return process_ && index >= 0 ? process_->getControlState(index)->getName() : "";
  };
  out << tabs << process << '.' << location(source_) << "->" << process << '.' << location(target_)
      << " { " << tabs << (guardText_.empty() ? "true" : guardText_) << ", " << syncText_;
  if (!assignmentText_.empty())
    out << ", " << assignmentText_;
  out << " }";
}

void Transition::print(std::ostream&) const {
  throw Bug("Transition::print() should NOT be used !!");
}

void Transition::setSync(const Pointer<Expression>& sync, const char* text) {
  sync_ = sync;
  syncText_ = text ? text : "";
}

void Transition::setGuard(const Pointer<Expression>& integerGuard,
                          const Pointer<TCTLExpression>& clockGuard, const char* text) {
  integerGuard_ = integerGuard;
  clockGuard_ = clockGuard;
  guardText_ = text ? text : "";
}

void Transition::setAssignment(const Pointer<Expression>& assignment, const char* text) {
  assignment_ = assignment;
  assignmentText_ = text ? text : "";
}

} // namespace orvela

#include "model/ControlState.h"

#include "formula/TCTLExpression.h"
#include "model/Transition.h"

#include <ostream>

namespace orvela {

ControlState::ControlState(short index, const char* name, bool committed, bool urgent)
    : index_(index), committed_(committed), urgent_(urgent), name_(name) {}

ControlState::~ControlState() = default;

void ControlState::accept(ModelVisitor& visitor) { visitor.visitControlState(this); }

void ControlState::buildState(int channels) {
  sync_ = SyncObject(channels);
  urgentSync_ = SyncObject(channels);
  urgentEdges_.clear();
  urgentBroadcastEdges_.clear();
}

void ControlState::print(std::ostream& out) const { out << "{ " << invariantText_ << "}"; }

void ControlState::setInvariant(const Pointer<TCTLExpression>& invariant, const char* text) {
  invariant_ = invariant;
  invariantText_ = text ? text : "";
}

} // namespace orvela

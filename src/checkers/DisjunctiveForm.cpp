#include "checkers/DisjunctiveForm.h"

#include "base/Exceptions.h"
#include "formula/ClockExpr.h"
#include "symbolic/GlobalState.h"

namespace orvela {

DisjunctiveForm::DisjunctiveForm(const Pointer<TCTLExpression>& formula) {
  NormalForm form;
  formula->normalise(form);
  for (Conjunction& conjunction : form) {
    Disjunct disjunct;
    for (Pointer<TCTLExpression>& atom : conjunction) {
      if (atom->getType() == TCTLExpression::deadlockType)
        throw InputError("The deadlock predicate cannot be checked along runs");
      (atom->getType() == TCTLExpression::clockType ? disjunct.clocks : disjunct.discrete)
          .push_back(std::move(atom));
    }
    disjuncts_.push_back(std::move(disjunct));
  }
}

bool DisjunctiveForm::discreteHolds(std::size_t k, GlobalState* state) const {
  for (const Pointer<TCTLExpression>& atom : disjuncts_[k].discrete)
    if (!atom->evaluate(state))
      return false;
  return true;
}

bool DisjunctiveForm::restrict(std::size_t k, GlobalState* state) const {
  for (const Pointer<TCTLExpression>& atom : disjuncts_[k].clocks)
    if (!atom->evaluate(state))
      return false;
  return state->ok();
}

bool DisjunctiveForm::restrictFuzzy(std::size_t k, GlobalState* state) const {
  UnpackedRegion* zone = state->getUnpackedRegion();
  for (const Pointer<TCTLExpression>& atom : disjuncts_[k].clocks)
    if (!static_cast<const ClockExpr&>(*atom).evaluateFuzzy(state, zone))
      return false;
  return state->ok();
}

} // namespace orvela

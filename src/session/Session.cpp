#include "session/Session.h"

#include "base/Exceptions.h"

namespace orvela {

Session::Session() = default;

Session::~Session() = default;

// ----------------------------------------------------------------- loading

void Session::requireSystem() const {
  if (!model_)
    throw ProtocolError("No system received");
}

void Session::dropModel() {
  simulator_.reset();
  checker_.reset();
  model_.reset();
  analyses_.stop(); // their items name parts of the old model
}

void Session::loadSystem(std::istream& description, std::vector<ParseMessage>* messages) {
  dropModel();
  // Built aside, so that a failure leaves no half-derived model behind.
  auto model = std::make_unique<LoadedModel>(description, messages);
  auto checker = std::make_unique<PropertyChecker>(*model, options_, progress_);
  simulator_ = std::make_unique<Simulator>(model->system(), model->allocator(), options_.normalise,
                                           model->constants());
  model_ = std::move(model);
  checker_ = std::move(checker);
}

const LoadedModel& Session::model() const {
  requireSystem();
  return *model_;
}

// ----------------------------------------------------------------- options

OptionEffect Session::setOption(std::string_view name, char value) {
  const OptionEffect effect = applyOption(options_, name, value);
  if (effect == OptionEffect::stateSpaceEmptied && checker_)
    checker_->dropStateSpace();
  return effect;
}

void Session::initialize() {
  if (checker_)
    checker_->initialize();
}

void Session::setProgress(bool show) {
  progress_ = show;
  if (checker_)
    checker_->setProgress(show);
}

// ---------------------------------------------------------------- checking

CheckResult Session::check(std::istream& property) {
  requireSystem();
  return checker_->check(property, limits_, analyses_.collectors(), analyses_.watchesClocks());
}

CheckResult Session::explore(const ExploreVisitor& visit) {
  requireSystem();
  return checker_->explore(limits_, visit);
}

bool Session::replay(const CheckResult& result, const StepVisitor& visit, bool withStart) const {
  requireSystem();
  return checker_->replay(result, visit, withStart);
}

bool Session::satisfies(const TCTLExpression& formula, const GlobalState* state) const {
  requireSystem();
  return checker_->satisfies(formula, state);
}

// -------------------------------------------------------------- simulation

Simulator& Session::simulator() {
  requireSystem();
  return *simulator_;
}

void Session::startFrom(const Pointer<GlobalState>& state) {
  requireSystem();
  checker_->startFrom(state);
}

} // namespace orvela

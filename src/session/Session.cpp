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

void Session::loadSystem(std::istream& description, std::string* messages) {
  dropModel();
  // Built aside, so that a failure leaves no half-derived model behind.
  auto model = std::make_unique<LoadedModel>(description, messages);
  auto checker = std::make_unique<PropertyChecker>(*model, options_, progress_);
  simulator_ = std::make_unique<Simulator>(model->system(), model->allocator(), options_.normalise,
                                           model->constants());
  model_ = std::move(model);
  checker_ = std::move(checker);
}

std::vector<std::string> Session::integerNames() const {
  requireSystem();
  return model_->integerNames();
}

std::vector<std::string> Session::clockNames() const {
  requireSystem();
  return model_->clockNames();
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
  return checker_->check(property, limits_, analyses_.collectors());
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

Pointer<GlobalState> Session::initialState() const {
  requireSystem();
  return simulator_->initialState();
}

void Session::enabledMoves(const GlobalState* state, const StepVisitor& deliver) {
  requireSystem();
  simulator_->enabledMoves(state, deliver);
}

Session::Move Session::moveOf(const GlobalState* state, const Transition* const* requested) {
  requireSystem();
  return simulator_->moveOf(state, requested);
}

void Session::successors(const GlobalState* state, const Move& move, const StepVisitor& deliver) {
  requireSystem();
  simulator_->successors(state, move, deliver);
}

bool Session::isStored(const GlobalState* state, const Transition* const* edges) const {
  return simulator_->isStored(options_.reduction, state, edges);
}

void Session::startFrom(const Pointer<GlobalState>& state) {
  requireSystem();
  checker_->startFrom(state);
}

} // namespace orvela

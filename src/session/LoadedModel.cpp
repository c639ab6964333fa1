#include "session/LoadedModel.h"

#include "base/Exceptions.h"
#include "language/ParseSystem.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/IntegerInfo.h"

#include <sstream>

namespace orvela {

namespace {

std::string textOf(std::istream& in) {
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

} // namespace

LoadedModel::LoadedModel(std::istream& description, std::vector<ParseMessage>* messages)
    : LoadedModel(textOf(description), messages, false) {}

LoadedModel::LoadedModel(const std::string& description, std::vector<ParseMessage>* messages,
                         bool hidden)
    : description_(description) {
  std::istringstream in(description_);
  std::ostringstream errors;
  system_ = parseSystem(in, errors, messages);
  if (!system_)
    throw ProtocolError("Syntax errors in system.");
  if (hidden) {
    // No name of the model can refer to it: properties and traces never
    // mention it.
    ModelTables tables = system_->tables();
    hiddenClock_ = tables.addClock("");
    system_->setTables(std::move(tables));
  }
  constants_ = NormalisationInfo(system_->tables().clockCount());
  system_->accept(constants_);
  start_ = system_->calcInitial();
  allocator_ = createChunkAllocator(system_->getSizeOfUnpackedState());
}

std::unique_ptr<LoadedModel> LoadedModel::withHiddenClock() const {
  if (system_->tables().clockCount() >= maximalClockCount)
    throw InputError("No room for the clock of a fastest trace: the model has %d clocks.",
                     maximalClockCount - 1);
  return std::unique_ptr<LoadedModel>(new LoadedModel(description_, nullptr, true));
}

void LoadedModel::activateClocks(const std::set<int>& clocks) {
  active_ = clocks;
  system_->propagateClocks(active_);
}

std::vector<std::string> LoadedModel::integerNames() const {
  const ModelTables& tables = system_->tables();
  std::vector<std::string> names;
  names.reserve(std::size_t(tables.realInts));
  for (int k = 0; k < tables.realInts; ++k)
    names.emplace_back(tables.integers[std::size_t(k)].name.c_str());
  return names;
}

std::vector<std::string> LoadedModel::clockNames() const {
  std::vector<std::string> names;
  for (const ClockInfo& clock : system_->tables().clocks)
    names.emplace_back(clock.name.c_str());
  return names;
}

} // namespace orvela

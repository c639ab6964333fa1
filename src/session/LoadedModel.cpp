#include "session/LoadedModel.h"

#include "base/Exceptions.h"
#include "language/ParseSystem.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/IntegerInfo.h"

#include <sstream>

namespace orvela {

LoadedModel::LoadedModel(std::istream& description, std::vector<ParseMessage>* messages) {
  std::ostringstream errors;
  system_ = parseSystem(description, errors, messages);
  if (!system_)
    throw ProtocolError("Syntax errors in system.");
  constants_ = NormalisationInfo(system_->tables().clockCount());
  system_->accept(constants_);
  start_ = system_->calcInitial();
  allocator_ = createChunkAllocator(system_->getSizeOfUnpackedState());
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

#include "server/Services.h"

#include "server/CommandLoop.h"
#include "server/ServiceHandlers.h"

#include <array>

namespace orvela {

namespace {

constexpr std::array<Service, 13> services{{
    {"newSystem", 0, processSystem},
    {"getInitialState", 1, processInitial},
    {"getTransitions", 2, processTransitions},
    {"modelCheck", 3, processModelCheck},
    {"setOptions", 4, processOptions},
    {"startState", 5, processStartState},
    {"quit", quitService, nullptr},
    {"version", 7, processVersion},
    {"getSuccessor", 8, processSuccessor},
    {"wcrtInit", 9, processWCRTInit},
    {"wcrtCollect", 10, processWCRTCollect},
    {"domainInit", 11, processDomainInit},
    {"domainCollect", 12, processDomainCollect},
}};

} // namespace

const Service* findService(std::string_view name) {
  for (const Service& service : services)
    if (name == service.name)
      return &service;
  return nullptr;
}

} // namespace orvela

#include "server/Services.h"

#include "server/CommandLoop.h"

#include <array>

namespace orvela {

namespace {

constexpr std::array<Service, 13> services{{
    {"newSystem", 0, nullptr},
    {"getInitialState", 1, nullptr},
    {"getTransitions", 2, nullptr},
    {"modelCheck", 3, nullptr},
    {"setOptions", 4, nullptr},
    {"startState", 5, nullptr},
    {"quit", quitService, nullptr},
    {"version", 7, processVersion},
    {"getSuccessor", 8, nullptr},
    {"wcrtInit", 9, nullptr},
    {"wcrtCollect", 10, nullptr},
    {"domainInit", 11, nullptr},
    {"domainCollect", 12, nullptr},
}};

} // namespace

const Service* findService(std::string_view name) {
  for (const Service& service : services)
    if (name == service.name)
      return &service;
  return nullptr;
}

} // namespace orvela

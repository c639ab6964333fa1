#pragma once
// Models for the tests, written in the description language: loading one and
// naming its processes, locations and edges.

#include "language/ParseSystem.h"
#include "model/ControlState.h"
#include "model/Process.h"
#include "model/System.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela::test {

/// The constructed system of `text`; a description with errors fails the
/// current test and gives null.
inline Pointer<System> loadSystem(const std::string& text) {
  std::string messages;
  Pointer<System> system = parseSystem(text, &messages);
  EXPECT_TRUE(system) << messages;
  return system;
}

/// Index of the process named `name` (Bug when there is none, so a typo in a
/// test cannot pass silently).
inline int processIndex(const System& system, const std::string& name) {
  for (int p = 0; p < system.getProcessCount(); ++p)
    if (name == system.getProcess(p)->getName())
      return p;
  ADD_FAILURE() << "no process " << name;
  return 0;
}

/// Index of location `location` of process `process`.
inline int locationIndex(const System& system, const std::string& process,
                         const std::string& location) {
  const Process& owner = *system.getProcess(processIndex(system, process));
  for (int l = 0; l < owner.getLocationCount(); ++l)
    if (location == owner.getControlState(l)->getName())
      return l;
  ADD_FAILURE() << "no location " << process << '.' << location;
  return 0;
}

/// The first edge of `process` from `source` to `target`.
inline const Transition* findEdge(const System& system, const std::string& process,
                                  const std::string& source, const std::string& target) {
  const Process& owner = *system.getProcess(processIndex(system, process));
  const int from = locationIndex(system, process, source);
  const int to = locationIndex(system, process, target);
  for (const Pointer<Transition>& edge : owner.getTransitions())
    if (edge->getSource() == from && edge->getTarget() == to)
      return edge.get();
  ADD_FAILURE() << "no edge " << process << '.' << source << "->" << target;
  return nullptr;
}

/// A short name of an edge for expected move lists: "P.source>target".
inline std::string edgeName(const Transition& edge) {
  const Process& owner = *edge.getProcessObject();
  return std::string(owner.getName()) + '.' + owner.getControlState(edge.getSource())->getName() +
         '>' + owner.getControlState(edge.getTarget())->getName();
}

/// The edges of a null-terminated move, names joined by blanks.
inline std::string moveName(const Transition* const* move) {
  std::string name;
  for (; *move; ++move) {
    if (!name.empty())
      name += ' ';
    name += edgeName(**move);
  }
  return name;
}

} // namespace orvela::test

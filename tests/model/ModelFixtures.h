#pragma once
// Processes assembled by hand for the model tests.

#include "model/Process.h"
#include "support/TestState.h"

#include <string>
#include <vector>

namespace orvela::test {

/// An edge from `from` to `to` with the given synchronisation expression
/// (null: none) and integer guard, without updates.
inline Pointer<Transition> edge(short from, short to, Pointer<Expression> sync = nullptr,
                                Pointer<Expression> guard = nullptr) {
  Pointer<Transition> result = new Transition();
  result->setSource(from);
  result->setTarget(to);
  result->setSync(sync ? sync : constant(0), "");
  result->setGuard(guard, nullptr, "");
  result->setAssignment(nullptr, "");
  return result;
}

/// Sending (+id) and receiving (-id) on channel `id`.
inline Pointer<Expression> send(int id) { return constant(id); }
inline Pointer<Expression> receive(int id) { return constant(-id); }

/// A process with locations l0, l1, ... (initial l0, none committed or
/// urgent) and the given edges, built (`buildProcess`).
inline Pointer<Process> buildProcess(const char* name, int locations,
                                     std::vector<Pointer<Transition>> edges) {
  Pointer<Process> process = new Process(static_cast<short>(locations), name);
  for (int index = 0; index < locations; ++index) {
    std::string location = "l";
    location += std::to_string(index);
    process->setControlState(
        index, new ControlState(static_cast<short>(index), location.c_str(), false, false));
  }
  process->setInitial(0);
  process->setTransitions(std::move(edges));
  process->buildProcess({});
  return process;
}

} // namespace orvela::test

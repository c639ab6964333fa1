#pragma once
// Processes assembled by hand for the model tests.

#include "model/Process.h"
#include "support/TestState.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orvela::test {

/// An edge from `from` to `to` with the given synchronisation expression
/// (null: none), integer guard and updates.
inline Pointer<Transition> edge(short from, short to, Pointer<Expression> sync = nullptr,
                                Pointer<Expression> guard = nullptr,
                                Pointer<Expression> updates = nullptr) {
  Pointer<Transition> result = new Transition();
  result->setSource(from);
  result->setTarget(to);
  result->setSync(sync ? sync : constant(0), "");
  result->setGuard(guard, nullptr, "");
  result->setAssignment(updates, "");
  return result;
}

/// Sending (+id) and receiving (-id) on channel `id`.
inline Pointer<Expression> send(int id) { return constant(id); }
inline Pointer<Expression> receive(int id) { return constant(-id); }

/// A process with locations l0, l1, ... (initial l0) and the given edges,
/// built (`buildProcess`) over `channels`.
inline Pointer<Process> buildProcess(const char* name, int locations,
                                     std::vector<Pointer<Transition>> edges,
                                     std::vector<int> committed = {}, std::vector<int> urgent = {},
                                     const std::vector<ChannelInfo>& channels = {}) {
  Pointer<Process> process = new Process(static_cast<short>(locations), name);
  for (int index = 0; index < locations; ++index) {
    std::string location = "l";
    location += std::to_string(index);
    const bool isCommitted =
        std::find(committed.begin(), committed.end(), index) != committed.end();
    const bool isUrgent = std::find(urgent.begin(), urgent.end(), index) != urgent.end();
    process->setControlState(index, new ControlState(static_cast<short>(index), location.c_str(),
                                                     isCommitted, isUrgent));
  }
  process->setInitial(0);
  process->setTransitions(std::move(edges));
  process->buildProcess(channels);
  return process;
}

/// The loop-entry marks of a process, one per location.
inline std::vector<bool> loopEntries(const Process& process) {
  std::vector<bool> marks;
  for (int index = 0; index < process.getLocationCount(); ++index)
    marks.push_back(process.isLoopEntry(index));
  return marks;
}

} // namespace orvela::test

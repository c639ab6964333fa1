#include "model/System.h"

#include "model/RegionRecorder.h"
#include "model/Successor.h"
#include "symbolic/GlobalState.h"
#include "symbolic/PublicState.h"

#include <ostream>

namespace orvela {

System::System(int processCount) : processes_(static_cast<std::size_t>(processCount)) {}

void System::accept(ModelVisitor& visitor) {
  for (const Pointer<Process>& process : processes_)
    process->accept(visitor);
  visitor.visitSystem(this);
}

void System::setProcess(int index, const Pointer<Process>& process) {
  processes_.at(static_cast<std::size_t>(index)) = process;
  process->markTransitions(index);
}

void System::construct() {
  for (const Pointer<Process>& process : processes_)
    process->buildProcess(tables_.channels);
}

void System::propagateClocks(const std::set<int>& extra) {
  for (const Pointer<Process>& process : processes_) {
    process->clearActiveClocks();
    process->propagateActiveClocks();
    for (int location = 0; location < process->getLocationCount(); ++location)
      process->getControlState(location)->getActiveClocks().insert(extra.begin(), extra.end());
  }
}

GlobalState* System::calcInitial() const {
  const int count = getProcessCount();
  GlobalState* state = GlobalState::create(count);
  for (int i = 0; i < count; ++i)
    state->setLocation(static_cast<unsigned int>(i),
                       processes_[static_cast<std::size_t>(i)]->getInitial());
  UnpackedRegion* zone = UnpackedRegion::create(tables_.clockCount(), false);
  zone->zeroRegion();
  state->setRegion(zone);
  state->setIntegerTable(IntegerTable::create(tables_.integers));
  return state;
}

bool System::evalInvariant(GlobalState* state) const {
  for (int i = 0; i < getProcessCount(); ++i) {
    const Pointer<TCTLExpression>& invariant = currentLocation(state, i)->getInvariant();
    if (invariant && (!invariant->evaluate(state) || !state->ok()))
      return false;
  }
  state->getRegion()->close();
  return !state->getRegion()->isEmpty();
}

bool System::stepBack(const GlobalState* state, const Transition* first, const Transition* second,
                      UnpackedRegion* zone) const {
  const Transition* edges[] = {first, second, nullptr};
  return stepBack(state, first ? edges : edges + 1, zone);
}

bool System::stepBack(const GlobalState* state, const Transition* const* edges,
                      UnpackedRegion* zone) const {
  RegionRecorder recorder(state, tables_.integerCount());
  for (const Transition* const* edge = edges; *edge; ++edge)
    (*edge)->evalClockGuards(&recorder);
  for (const Transition* const* edge = edges; *edge; ++edge)
    if ((*edge)->getAssignment())
      recorder.recordUpdates(*(*edge)->getAssignment());
  recorder.replayReverse(zone);
  zone->close();
  return true;
}

int System::getSizeOfUnpackedState() const {
  return 4 * static_cast<int>(GlobalState::sizeOfUnpacked(getProcessCount(), tables_.integerCount(),
                                                          tables_.clockCount()));
}

ControlState* System::currentLocation(const PublicState* state, int index) const {
  const Process& process = *processes_[static_cast<std::size_t>(index)];
  return process.getControlState(state->getLocation(static_cast<unsigned int>(index)));
}

bool System::isUrgentState(const PublicState* state) const {
  for (int i = 0; i < getProcessCount(); ++i)
    if (currentLocation(state, i)->isUrgent())
      return true;
  return false;
}

int System::committed(const PublicState* state) const {
  int count = 0;
  for (int i = 0; i < getProcessCount(); ++i)
    if (currentLocation(state, i)->isCommitted())
      ++count;
  return count;
}

bool System::canSync(const PublicState* state, int i, int j) const {
  if (i == j)
    return true;
  if (tables_.channels.empty())
    return false;
  return currentLocation(state, i)->getSync().canSyncWith(currentLocation(state, j)->getSync());
}

namespace {

// The synchronisation value of an edge in a state (0 for none).
int syncValue(const Transition& edge, const PublicState* state) {
  return edge.getSync() ? edge.getSync()->evaluateScalar(const_cast<PublicState*>(state)) : 0;
}

} // namespace

bool System::hasUrgentTransitions(const PublicState* state) const {
  if (tables_.channels.empty())
    return false;
  const int count = getProcessCount();
  for (int i = 0; i < count; ++i) {
    const ControlState& here = *currentLocation(state, i);
    for (const Pointer<Transition>& edge : here.getUrgentBroadcastTransitions())
      if (edge->evalIntegerGuards(state))
        return true;
    for (int j = i + 1; j < count; ++j) {
      const ControlState& there = *currentLocation(state, j);
      if (!here.getUrgentSync().canSyncWith(there.getUrgentSync()))
        continue;
      for (const Pointer<Transition>& edge : here.getUrgentTransitions()) {
        const int value = syncValue(*edge, state);
        if (!edge->evalIntegerGuards(state))
          continue;
        for (const Pointer<Transition>& partner : there.getUrgentTransitions())
          if (value + syncValue(*partner, state) == 0 && partner->evalIntegerGuards(state))
            return true;
      }
    }
  }
  return false;
}

bool System::noSave(const Transition* const* edges, const PublicState* state) const {
  if (!edges || !*edges)
    return false;
  for (; *edges; ++edges) {
    const int process = (*edges)->getProcessIndex();
    const int location = state->getLocation(static_cast<unsigned int>(process));
    if (processes_[static_cast<std::size_t>(process)]->isLoopEntry(location))
      return false;
  }
  return true;
}

bool System::noSave(const Successor& successor) const {
  if (!successor.first && !successor.second)
    return false;
  for (const Transition* edge : {successor.first, successor.second}) {
    if (!edge)
      continue;
    const int process = edge->getProcessIndex();
    const int location = successor.state->getLocation(static_cast<unsigned int>(process));
    if (processes_[static_cast<std::size_t>(process)]->isLoopEntry(location))
      return false;
  }
  return true;
}

void System::displayControlState(const PublicState* state, std::ostream& out) const {
  out << "( ";
  for (int i = 0; i < getProcessCount(); ++i)
    out << processes_[static_cast<std::size_t>(i)]->getName() << '.'
        << currentLocation(state, i)->getName() << ' ';
  out << ")\n";
}

void System::displayGlobalState(const GlobalState* state, std::ostream& out) const {
  out << '\n';
  displayControlState(state, out);
  state->getRegion()->display(out, tables_.clocks);
  out << ' ';
  state->getIntegerTable()->display(out, tables_.integers);
  out << '\n';
}

void System::print(std::ostream& out) const {
  out << "The system has " << processes_.size() << " processes.\n\n";
  for (const Pointer<Process>& process : processes_)
    process->display(out);
}

} // namespace orvela

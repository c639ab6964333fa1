#pragma once
// Which explored states a search keeps in its passed list.

#include "model/System.h"
#include "symbolic/GlobalState.h"

namespace orvela {

/// The storage reduction of a search (the "reduction" option, whose values
/// are the enumerators' numbers).
enum class StorageReduction {
  keepAll = 0,                  ///< every state is kept
  dropUnnecessaryCommitted = 1, ///< all but the committed states the system declares unnecessary
  dropUnnecessary = 2,          ///< all but the states the system declares unnecessary
};

/// Whether a search under `reduction` keeps `state`; `unnecessary()` answers
/// whether the system declares it unnecessary (`System::noSave`), and is
/// asked only when that decides.
template <class Unnecessary>
bool keepsState(StorageReduction reduction, const System& system, const GlobalState* state,
                Unnecessary unnecessary) {
  if (reduction == StorageReduction::keepAll)
    return true;
  if (reduction == StorageReduction::dropUnnecessaryCommitted && system.committed(state) == 0)
    return true;
  return !unnecessary();
}

} // namespace orvela

#pragma once
// Which explored states a search keeps in its passed list.

namespace orvela {

/// The storage reduction of the session ("reduction" option):
///   0  every state is kept;
///   1  every state is kept but the committed states that the system declares
///      unnecessary (`System::noSave`);
///   2  every state is kept but those the system declares unnecessary.
/// 1 at start-up. Read by the waiting-state and expansion filters when a state
/// passes, so a change applies to the next state.
extern int spaceOpt;

} // namespace orvela

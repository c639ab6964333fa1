#pragma once
// The text form in which states, transitions and traces travel between the
// client and the server: one field per line, decimal numbers, blocks ended
// by a "." line. Writers write reply lines to a client; readers read
// request lines from its request stream (at most 98 characters each).
//
// A global state block: the location index of every process, ".", then zero
// or more constraint groups (row clock i, column clock j, bound v, "."), ".",
// then the value of every declared integer, ".". The bound v encodes
// x_i - x_j < v/2 (v odd) or <= v/2 (v even): the stored raw bound with its
// lowest bit inverted.

#include "base/Object.h"
#include "session/Options.h"

#include <iosfwd>
#include <string>

namespace orvela {

class Client;
class GlobalState;
class System;
class Transition;

/// Writes the block of `state` (unpacked or packed region) with its zone in
/// `zoneFormat`.
void writeGlobalState(const Client& client, const GlobalState* state, ZoneFormat zoneFormat);
/// Writes the line of an edge: its process index, a blank, its index within
/// the process plus one.
void write(const Client& client, const Transition* edge);
/// Writes the block of `state`, the line of every edge of the null-terminated
/// `edges`, and ".".
void write(const Client& client, const GlobalState* state, const Transition* const* edges,
           ZoneFormat zoneFormat);

/// Reads from `in` a state block of the current model (`system` and its tables)
/// into a new heap state with a closed unpacked region. The zone is the
/// conjunction of the constraint groups with every clock non-negative (the
/// tightest bound wins where groups repeat an entry); when that is empty the
/// region is empty (`Region::isEmpty`). Throws `ProtocolError` "Bad control
/// state", "State inconsistent with current system" (also for an integer
/// outside its variable's domain), "No terminating . after control state",
/// "Bad constraint", "Bound out of range in constraint" (a constant beyond
/// +-`maximalClockConstant`, sent or after closing the zone), "No terminating
/// . after constraint", "No terminating . after
/// integer assignment", "Bad integer value", and the errors of reading a line.
Pointer<GlobalState> read(std::istream& in, const System& system);
/// Reads a process index and an edge index (from 0) and answers that edge.
/// An index outside the model is `ProtocolError` "State inconsistent with
/// current system".
const Transition* readTransition(std::istream& in, const System& system);
/// The decimal integer at the start of `line` (after blanks, with an optional
/// sign). A line without one, or with one outside the int range, is
/// `ProtocolError` "Bad integer value".
int getInteger(const std::string& line);
/// Reads `count` integers, each as `getInteger` reads one, one after another
/// from the start of `line` into `values`; false when one is missing.
bool scanIntegers(const std::string& line, int* values, int count);

} // namespace orvela

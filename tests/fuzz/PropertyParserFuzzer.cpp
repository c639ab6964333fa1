// Fuzz target: the property parser on arbitrary text, over one fixed small
// model with clocks, clock arrays, integers, integer arrays, constants,
// channels and processes. A property that parses is printed, negated,
// normalised and evaluated on the initial state; client errors (a request
// error) are allowed there, any other failure is a finding.

#include "FuzzTarget.h"
#include "base/Exceptions.h"
#include "checkers/CDDDeadlockExpr.h"
#include "language/ParseProperty.h"
#include "session/Session.h"
#include "symbolic/Allocator.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/GlobalState.h"

#include <exception>
#include <set>
#include <sstream>
#include <string>

namespace {

using namespace orvela;

const char* const model =
    "clock x, y; clock c[3];\n"
    "int [0,4] n; int a[3] := {0, 1, 2}; int m[2][2];\n"
    "const K := 3; const L[2] := {5, 7};\n"
    "chan go; urgent chan u;\n"
    "process P {\n"
    "  clock z; int v;\n"
    "  state idle, busy { x <= 4 }, done;\n"
    "  commit done;\n"
    "  init idle;\n"
    "  trans idle -> busy { guard n < K; sync go!; assign x := 0, n := n + 1; },\n"
    "        busy -> done { guard x >= 1; sync go!; },\n"
    "        done -> idle { assign v := v + 1; };\n"
    "}\n"
    "process Q {\n"
    "  state wait, got;\n"
    "  init wait;\n"
    "  trans wait -> got { sync go?; assign a[1] := n; },\n"
    "        got -> wait { sync go?; assign y := 0; };\n"
    "}\n"
    "system P, Q;\n";

/// The loaded model, its initial state and an allocator for evaluations.
struct Fixture {
  Session session;
  Pointer<Allocator> allocator;
  Pointer<GlobalState> initial;

  Fixture() {
    std::istringstream text(model);
    session.loadSystem(text);
    allocator = createChunkAllocator(session.system()->getSizeOfUnpackedState());
    initial = session.simulator().initialState();
  }
};

void exercise(TCTLExpression& expression, const Fixture& fixture) {
  std::ostringstream printed;
  printed << expression;
  std::set<int> clocks;
  expression.collectClocks(clocks);
  for (int clock : clocks)
    if (clock < 0 || clock >= fixture.session.system()->tables().clockCount())
      fuzz::fault("collectClocks", "a clock outside the model");
  NormalForm normalForm;
  expression.normalise(normalForm);
  // Whether or not the evaluation throws, the list holds only blocks of the
  // allocator, and they all go back.
  StateList states{fixture.initial->unpackedCopy(fixture.allocator->allocate())};
  try {
    expression.evaluateMulti(states, fixture.allocator.get());
  } catch (const ProtocolError&) {
  } catch (const InputError&) {
  }
  for (GlobalState* state : states)
    returnState(state, fixture.allocator.get());
  if (fixture.allocator->blocksOut() != 0)
    fuzz::fault("evaluateMulti", "a state was not given back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    std::string messages;
    const ParsedProperty parsed = parseProperty(text, fixture.session.system(), &messages,
                                                deadlockFactory(fixture.session.system()));
    if (!parsed.expression)
      return 0;
    exercise(*parsed.expression, fixture);
    exercise(*parsed.expression->negate(), fixture);
  } catch (const std::exception& failure) {
    fuzz::fault("the property threw", failure.what());
  }
  return 0;
}

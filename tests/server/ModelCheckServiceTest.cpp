// "modelCheck" through the real server: verdicts, traces in both zone
// formats, the approximating representations, the property's constants, and
// every error a property can cause. Reuse of a stored search: OptionsService.

#include "Transcript.h"

#include <vector>

namespace orvela {
namespace {

using namespace test;

const std::string noTrace = "0\n0\n.\n";

std::string checks(const std::string& options, const std::string& properties) {
  return replies(newSystem(lamp) + setOptions(options) + properties);
}
std::string afterLoad(const std::string& reply) { return lampNames + "ok\n.\n" + reply; }

// The lamp's verdicts under each representation: exact, packed, bit-state
// hashing, convex hull. The hull over-approximates (a state found proves
// nothing), bit-state hashing under-approximates (a state not found proves
// nothing): each answers "maybe" where it cannot decide. The liveness
// searches treat their witnesses the same way. The lamp can stay off forever;
// on must be left within 5, to off, or to the committed done, which has no
// way out once n is 3.
TEST(ModelCheckService, VerdictsUnderEveryRepresentationOrderAndReduction) {
  const std::pair<const char*, const char*> cases[] = {
      {"E<> P.done", "TTTM"},
      {"E<> P.done and x > 5", "FFMF"},
      {"E<> P.off and x < 2 and n == 1", "FFMF"},
      {"A[] n <= 3", "TTMT"},
      {"A[] x <= 5", "FFFM"},
      {"A[] P.off imply n <= 2", "FFFM"},
      {"A[] P.on imply x <= 5", "TTMT"},
      {"E[] P.on", "FFMF"},
      {"E[] P.off or P.on", "TTTM"},
      {"A<> P.on", "FFFM"},
      {"A<> x >= 0", "TTMT"},
      {"P.on --> P.off", "FFFM"},
      {"P.on --> P.off or P.done", "TTMT"},
      {"P.done --> P.off", "FFFM"},
      {"P.off and n == 3 --> P.on", "FFFM"},
  };
  std::string properties;
  for (const auto& [property, verdicts] : cases)
    properties += modelCheck(property);
  auto expected = [&](int representation) {
    std::string replies;
    for (const auto& [property, verdicts] : cases)
      replies += std::string("ok\n") + verdicts[representation] + "\n" + noTrace;
    return afterLoad(replies);
  };
  for (int representation = 0; representation < 4; ++representation) {
    const std::string options = "representation " + std::to_string(representation) + "\n";
    EXPECT_EQ(checks(options, properties), expected(representation)) << options;
  }
  // The exact representations agree in every order, with every reduction.
  std::vector<std::string> exact = {"activeClocks 1\n"};
  for (const char* representation : {"0", "1"})
    for (const char* order : {"0", "1"})
      for (const char* reduction : {"0", "1", "2"})
        exact.push_back(std::string("representation ") + representation + "\norder " + order +
                        "\nreduction " + reduction + "\n");
  for (const std::string& options : exact)
    EXPECT_EQ(checks(options, properties), expected(0)) << options;
}

TEST(ModelCheckService, TracesAreReplayedInEitherZoneFormat) {
  const std::string onOnce = "1\n.\n1\n0\n10\n.\n.\n1\n.\n0 1\n.\n";
  const std::string offAgain = "0\n.\n0\n1\n-4\n.\n.\n1\n.\n0 2\n.\n";
  const std::string onTwice = "1\n.\n1\n0\n10\n.\n.\n2\n.\n0 1\n.\n";
  EXPECT_EQ(checks("trace 1\n", modelCheck("E<> P.on and n == 2")),
            afterLoad("ok\nT\n3\n0\n" + onOnce + offAgain + onTwice + ".\n"));
  // every finite bound, the diagonal and x >= 0 included
  EXPECT_EQ(
      checks("trace 1\nzoneFormat 0\n", modelCheck("E<> P.on")),
      afterLoad("ok\nT\n1\n0\n1\n.\n0\n0\n0\n.\n0\n1\n0\n.\n1\n0\n10\n.\n1\n1\n0\n.\n.\n1\n.\n"
                "0 1\n.\n.\n"));
  // a counterexample to an invariant; the initial state itself is one
  EXPECT_EQ(checks("trace 1\n", modelCheck("A[] n < 1") + modelCheck("A[] P.on")),
            afterLoad("ok\nF\n1\n0\n" + onOnce + ".\n" + "ok\nF\n0\n0\n.\n"));
  // nothing found: no trace, whatever the option says
  EXPECT_EQ(checks("trace 1\n", modelCheck("E<> P.done and x > 5") + modelCheck("A[] n <= 3")),
            afterLoad("ok\nF\n" + noTrace + "ok\nT\n" + noTrace));
}

// s is entered with x - y in [0, 1] or in [3, 4]; the convex hull of the two
// lets x - y be 2 there, so g looks reachable. Its trace cannot be replayed:
// the answer is "maybe" with an empty trace, and the server goes on.
TEST(ModelCheckService, AConvexHullTraceThatNoRunCanTakeIsLeftOut) {
  const std::string model = "clock x, y;\n"
                            "process P { state a, s, g; init a;\n"
                            "  trans a -> s { guard x <= 1; assign y := 0; },\n"
                            "        a -> s { guard x >= 3, x <= 4; assign y := 0; },\n"
                            "        s -> g { guard x == y + 2; }; }\n"
                            "system P;";
  EXPECT_EQ(replies(setOptions("representation 3\ntrace 1\n") + newSystem(model) +
                    modelCheck("E<> P.g") + modelCheck("E<> P.s") +
                    setOptions("representation 0\n") + modelCheck("E<> P.g")),
            "ok\n.\nok\n\nt(0) x y \n.\nok\nM\n" + noTrace +
                "ok\nM\n1\n0\n1\n.\n1\n2\n8\n.\n2\n1\n-6\n.\n.\n.\n0 2\n.\n.\n" + "ok\n.\n" +
                "ok\nF\n" + noTrace);
}

// Without the constants of the property, normalisation would widen x past
// 6 in b (the model compares x with nothing) and find x > 6 there.
TEST(ModelCheckService, ThePropertysConstantsAreKeptByNormalisation) {
  const std::string model = "clock x, y;\n"
                            "process P { state a { y <= 3 }, b { y <= 3 }; init a;\n"
                            "  trans a -> b { assign y := 0; }; }\n"
                            "system P;";
  for (const char* options : {"", "reuse 1\n"}) {
    SCOPED_TRACE(options);
    EXPECT_EQ(replies(newSystem(model) + setOptions(options) + modelCheck("E<> P.b and x > 6") +
                      modelCheck("E<> P.b and x >= 6") + modelCheck("E<> P.b and x > 10")),
              "ok\n\nt(0) x y \n.\nok\n.\nok\nF\n" + noTrace + "ok\nT\n" + noTrace + "ok\nF\n" +
                  noTrace);
  }
}

TEST(ModelCheckService, PropertiesWithErrorsOrWithoutAChecker) {
  const std::string unsupported = error("Unsupported property type.");
  EXPECT_EQ(
      checks("", modelCheck("E<> nobody > 1") + modelCheck("quit") + "modelCheck\n\n.\n" +
                     modelCheck("E<> P.on")),
      afterLoad("error\nBad property\n\n.\n" + unsupported + unsupported + "ok\nT\n" + noTrace));
}

// Two lengths, the trace to the loop and then the loop, each step the state
// reached and the edge taken.
TEST(ModelCheckService, LivenessTracesGiveThePathAndTheLoop) {
  const std::string pingPong = "clock x;\n"
                               "process P { state a { x <= 2 }, b { x <= 2 }; init a;\n"
                               "  trans a -> b { guard x >= 1; assign x := 0; },\n"
                               "        b -> a { guard x >= 1; assign x := 0; }; }\n"
                               "system P;";
  const std::string toB = "1\n.\n1\n0\n4\n.\n.\n.\n0 1\n.\n";
  const std::string toA = "0\n.\n1\n0\n4\n.\n.\n.\n0 2\n.\n";
  const std::string loaded = "ok\n.\nok\n\nt(0) x \n.\n";
  // The loop starts at the initial state; after b, a loop from b.
  EXPECT_EQ(replies(setOptions("trace 1\n") + newSystem(pingPong) + modelCheck("E[] P.a or P.b") +
                    modelCheck("A<> x > 2") + modelCheck("P.b --> x > 2") +
                    modelCheck("P.a --> P.b")),
            loaded + "ok\nT\n0\n2\n" + toB + toA + ".\n" + "ok\nF\n0\n2\n" + toB + toA + ".\n" +
                "ok\nF\n1\n2\n" + toB + toA + toB + ".\n" + "ok\nT\n" + noTrace);
  // Time passes forever in b: a path and no loop.
  EXPECT_EQ(replies(setOptions("trace 1\n") +
                    newSystem("clock x;\n"
                              "process P { state a { x <= 3 }, b; init a;\n"
                              "  trans a -> b { guard x >= 1; }; }\n"
                              "system P;") +
                    modelCheck("E[] P.a or P.b") + modelCheck("E[] P.a")),
            loaded + "ok\nT\n1\n0\n1\n.\n0\n1\n-2\n.\n.\n.\n0 1\n.\n.\n" + "ok\nF\n" + noTrace);
}

// The deadlock predicate and its negation hold exactly where they hold,
// whatever the order of the conjuncts; a continued search meets them too.
TEST(ModelCheckService, DeadlockAndItsNegationInFormulas) {
  const std::string model = "clock x;\n"
                            "process P { state a { x <= 2 }, b; init a;\n"
                            "  trans a -> b { guard x >= 1; }; }\n"
                            "system P;";
  for (const char* reuse : {"reuse 0\n", "reuse 1\n"}) {
    SCOPED_TRACE(reuse);
    EXPECT_EQ(replies(setOptions(reuse) + newSystem(model) + modelCheck("E<> deadlock") +
                      modelCheck("E<> P.a and deadlock") + modelCheck("A[] not deadlock") +
                      modelCheck("E<> not deadlock") + modelCheck("E<> P.b and not deadlock") +
                      modelCheck("A[] P.a")),
              "ok\n.\nok\n\nt(0) x \n.\nok\nT\n" + noTrace + "ok\nF\n" + noTrace + "ok\nF\n" +
                  noTrace + "ok\nT\n" + noTrace + "ok\nF\n" + noTrace + "ok\nF\n" + noTrace);
  }
}

} // namespace
} // namespace orvela

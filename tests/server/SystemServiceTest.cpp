// "newSystem" through the real server: the name lines, descriptions with
// errors, and one model after another in one session.

#include "Transcript.h"

namespace orvela {
namespace {

using namespace test;

TEST(SystemService, AnswersTheIntegerAndClockNamesEachFollowedByABlank) {
  EXPECT_EQ(replies(newSystem(lamp)), lampNames);
  EXPECT_EQ(replies(newSystem("int [0,1] a[2]; clock g;\n"
                              "process Q { int k; clock y; state s; init s; }\n"
                              "system Q;")),
            "ok\na[0] a[1] Q.k \nt(0) g Q.y \n.\n");
  // none of either: an empty line and the reference clock
  EXPECT_EQ(replies(newSystem("process P { state a; init a; }\nsystem P;")), "ok\n\nt(0) \n.\n");
}

TEST(SystemService, EveryServiceThatNeedsASystemSaysSo) {
  for (const char* service : {"getInitialState", "getTransitions", "getSuccessor", "startState",
                              "modelCheck", "domainInit", "wcrtInit"}) {
    SCOPED_TRACE(service);
    EXPECT_EQ(replies(std::string(service) + "\nversion\n"),
              error("No system received") +
                  "ok\nORVELA version 1.0 Beta, Nov 2002 -- server.\n.\n");
  }
}

// A description with errors must not leave a half-loaded model behind, nor
// the previous model with tables that now belong to another description.
TEST(SystemService, ADescriptionWithErrorsLeavesTheServerWithoutASystem) {
  const std::string requests = newSystem(lamp) +
                               newSystem("clock y;\nprocess P { state a; init b; }\n"
                                         "system P;") +
                               "getInitialState\n" + modelCheck("E<> P.on") + newSystem(lamp) +
                               modelCheck("E<> P.on");
  EXPECT_EQ(replies(requests), lampNames + error("Syntax errors in system.") +
                                   error("No system received") + error("No system received") +
                                   error("E<> P.on: Unknown command") +
                                   error(".: Unknown command") + lampNames + "ok\nT\n0\n0\n.\n");
  // The reply says only that there are errors; what and where goes to
  // standard error, for a front end to show.
  EXPECT_EQ(runServer(requests).err, "Error at line 2, column 27 : undeclared identifier 'b'\n");
}

// Everything a session holds for a model (its state space with "reuse", its
// start state, its collectors) goes with the model: each load behaves like
// the first of a session.
TEST(SystemService, TwoModelsInOneSessionAnswerAsEachAlone) {
  const std::string options = setOptions("reuse 1\ntrace 1\n");
  const std::string first = options + newSystem(lamp) + modelCheck("E<> P.on and n == 2") +
                            "domainInit\n-1 0 0\n.\n" + modelCheck("A[] n <= 3") +
                            "domainCollect\n" + "startState\n1\n.\n1\n0\n10\n.\n.\n3\n.\n" +
                            modelCheck("E<> P.done");
  const std::string second = options +
                             newSystem("clock x;\nint [0,5] i;\n"
                                       "process P { state a, b, c; init a;\n"
                                       "  trans a -> c { guard x >= 3; }, a -> b {}, b -> c {}; }\n"
                                       "system P;") +
                             modelCheck("E<> P.c") + "domainCollect\n" + "getInitialState\n";
  const std::string alone = replies(second);
  EXPECT_EQ(alone, "ok\n.\nok\ni \nt(0) x \n.\n"
                   "ok\nT\n1\n0\n2\n.\n0\n1\n-6\n.\n.\n0\n.\n0 1\n.\n.\n" +
                       error("Domain computation not started") + "ok\n0\n.\n.\n0\n.\n");
  EXPECT_EQ(replies(first + second), replies(first) + alone);
}

} // namespace
} // namespace orvela

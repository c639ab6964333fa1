// The domain and response-time analyses through the real server: watch
// lists, collection over the reachability checks, replies in reverse order
// of the items, and the errors.

#include "Transcript.h"

namespace orvela {
namespace {

using namespace test;

const std::string nothingSeen = "2147483647 -2147483648\n";
const std::string exhaustive = modelCheck("E<> P.done and x > 5"); // explores everything
const std::string exhausted = "ok\nF\n0\n0\n.\n";

std::string onLamp(const std::string& requests) { return replies(newSystem(lamp) + requests); }

// Items are read as scanf reads them: any location goes with process -1,
// blanks and trailing text are skipped. Malformed items: MalformedRequests.
TEST(AnalysisServices, DomainsAreCollectedOverEveryExploredStateInReverseItemOrder) {
  // n anywhere, n where the lamp is on, n where it is done
  EXPECT_EQ(onLamp("domainInit\n-1 99 0\n  0\t1   0 and more\n0 2 0\n.\n" +
                   std::string("domainCollect\n") + exhaustive + "domainCollect\n"),
            lampNames + "ok\n" + nothingSeen + nothingSeen + nothingSeen + ".\n" + exhausted +
                "3 3\n1 3\n0 3\n.\n");
}

TEST(AnalysisServices, ResponseTimesAreTheRangesOfClocksWhereTheItemsSay) {
  // x where the lamp is on, x where it is off (unbounded there), the
  // reference clock anywhere
  EXPECT_EQ(onLamp("wcrtInit\n0 1 1\n0 0 1\n-1 7 0\n.\n" + exhaustive + "wcrtCollect\n"),
            lampNames + "ok\n" + exhausted + "0 0\n0 1073741823\n0 5\n.\n");
}

// Clock ranges are read from the stored zones, which widening by local or
// lower/upper bounds would loosen (x <= 5 in on is tested by no guard from
// below beyond 2): every choice of abstraction collects the same ranges.
TEST(AnalysisServices, ResponseTimesAreTheSameUnderEveryAbstraction) {
  const auto collected = [](const char* choice) {
    return onLamp(setOptions(choice) + "wcrtInit\n0 1 1\n.\n" + modelCheck("E<> P.done") +
                  "wcrtCollect\n");
  };
  for (const char* choice : {"extrapolation 1\n", "extrapolation 2\n", "extrapolation 3\n",
                             "extrapolation 3\nsubsumption 1\n"})
    EXPECT_EQ(collected(choice), collected("extrapolation 0\n")) << choice;
}

TEST(AnalysisServices, BothAnalysesRunInOneCheckAndAccumulateOverChecks) {
  // the first check stops as soon as the lamp is on: done is not reached
  EXPECT_EQ(onLamp("domainInit\n0 2 0\n0 1 0\n.\nwcrtInit\n0 1 1\n.\n" + modelCheck("E<> P.on") +
                   "domainCollect\nwcrtCollect\n" + exhaustive + "domainCollect\nwcrtCollect\n"),
            lampNames + "ok\nok\nok\nT\n0\n0\n.\n" + "1 1\n" + nothingSeen + ".\n0 5\n.\n" +
                exhausted + "1 3\n3 3\n.\n0 5\n.\n");
}

TEST(AnalysisServices, ANewWatchListStartsAgainAndAnEmptyOneStops) {
  EXPECT_EQ(onLamp("domainInit\n-1 0 0\n.\n" + exhaustive + "domainInit\n0 0 0\n.\n" +
                   "domainCollect\ndomainInit\n.\ndomainCollect\n"),
            lampNames + "ok\n" + exhausted + "ok\n" + nothingSeen + ".\nok\n" +
                error("Domain computation not started"));
}

TEST(AnalysisServices, CollectingBeforeAStartIsAnError) {
  EXPECT_EQ(replies("domainCollect\nwcrtCollect\n"),
            error("Domain computation not started") + error("WCRT computation not started"));
}

} // namespace
} // namespace orvela

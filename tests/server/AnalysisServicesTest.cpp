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

TEST(AnalysisServices, DomainsAreCollectedOverEveryExploredStateInReverseItemOrder) {
  // n anywhere, n where the lamp is on, n where it is done
  EXPECT_EQ(onLamp("domainInit\n-1 0 0\n0 1 0\n0 2 0\n.\n" + std::string("domainCollect\n") +
                   exhaustive + "domainCollect\n"),
            lampNames + "ok\n" + nothingSeen + nothingSeen + nothingSeen + ".\n" + exhausted +
                "3 3\n1 3\n0 3\n.\n");
}

TEST(AnalysisServices, ResponseTimesAreTheRangesOfClocksWhereTheItemsSay) {
  // x where the lamp is on, x where it is off (unbounded there), the
  // reference clock anywhere
  EXPECT_EQ(onLamp("wcrtInit\n0 1 1\n0 0 1\n-1 7 0\n.\n" + exhaustive + "wcrtCollect\n"),
            lampNames + "ok\n" + exhausted + "0 0\n0 1073741823\n0 5\n.\n");
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

// A malformed line or an item outside the model is rejected; the items read
// before it are dropped and the running collection stays as it was.
TEST(AnalysisServices, ItemsThatAreNotTriplesOfTheModelAreRejected) {
  const std::string started = "domainInit\n-1 0 0\n.\nwcrtInit\n-1 0 1\n.\n";
  for (const char* item :
       {"0 1", "x 1 0", "1 0 0", "-2 0 0", "0 3 0", "0 -1 0", "0 0 1", "0 0 -1"}) {
    SCOPED_TRACE(item);
    EXPECT_EQ(onLamp(started + "domainInit\n0 1 0\n" + item + "\n.\n" + "domainCollect\n"),
              lampNames + "ok\nok\n" + error("Not a PLV tripple") + error(".: Unknown command") +
                  nothingSeen + ".\n");
  }
  for (const char* item : {"0 0 2", "1 0 1", "0 9 1", "0 0"}) {
    SCOPED_TRACE(item);
    EXPECT_EQ(onLamp(started + "wcrtInit\n" + item + "\n.\n" + "wcrtCollect\n"),
              lampNames + "ok\nok\n" + error("Not a PLV tripple") + error(".: Unknown command") +
                  nothingSeen + ".\n");
  }
  // any location goes with process -1; blanks and trailing text as scanf reads them
  EXPECT_EQ(
      onLamp("domainInit\n-1 99 0\n  0\t1   0 and more\n.\n" + exhaustive + "domainCollect\n"),
      lampNames + "ok\n" + exhausted + "1 3\n0 3\n.\n");
}

} // namespace
} // namespace orvela

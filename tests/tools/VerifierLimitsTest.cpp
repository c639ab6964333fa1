// Limits of the verifier through its binary.

#include "VerifierFixture.h"

namespace orvela::test {
namespace {

// A full search of six Fischer processes under the maximal-constant
// abstraction takes far longer than the limits below, and mutual exclusion
// holds, so only a limit can stop it early.
const char* const mutex = "A[] not (P1.cs and P2.cs)";
const char* const extrapolation = "--extrapolation=global-max";
const char* const subsumption = "--subsumption=inclusion";

TEST(VerifierLimits, ATimeLimitStopsTheSearchAndReportsWhatItDid) {
  TempFile model("fischer6.ta", fischerModel(6));
  const JsonRun run =
      runVerifierJson({extrapolation, subsumption, "--time-limit", "0.5", model.path(), "-e", mutex,
                       "-e", "E<> P1.cs and P2.wait", "-e", "E<> P1.cs and P2.cs"});
  const Json& properties = run.document.at("properties");
  ASSERT_EQ(properties.size(), 3u) << run.process.out;
  const Json& stopped = properties[0];
  EXPECT_EQ(stopped.at("verdict").get<std::string>(), "unknown");
  EXPECT_EQ(stopped.at("reason").get<std::string>(), "time limit of 0.5 s reached");
  EXPECT_GT(stopped.at("stats").at("explored").get<double>(), 0);
  EXPECT_GE(stopped.at("stats").at("stored").get<double>(),
            stopped.at("stats").at("explored").get<double>());
  EXPECT_GE(stopped.at("stats").at("seconds").get<double>(), 0.5);
  // The next properties are checked afresh, each with its own limit.
  EXPECT_EQ(properties[1].at("verdict").get<std::string>(), "satisfied");
  EXPECT_EQ(properties[2].at("verdict").get<std::string>(), "unknown");
  EXPECT_EQ(run.process.exitStatus, 2);
}

TEST(VerifierLimits, TheNextPropertyStartsAfreshAfterAStoppedSearch) {
  // With reuse, a property continues the state space of the one before (the
  // first one here starts it); a state space left half-explored by a limit
  // must be dropped instead, so the property after it searches exactly as it
  // would on its own.
  // The middle search needs a few tenths of a second, the others a few
  // hundredths at most.
  TempFile model("fischer5.ta", fischerModel(5));
  const char* const next = "E<> P3.cs and P4.wait";
  const JsonRun limited =
      runVerifierJson({extrapolation, subsumption, "--reuse", "--time-limit", "0.1", model.path(),
                       "-e", "E<> P1.req", "-e", mutex, "-e", next});
  const JsonRun alone =
      runVerifierJson({extrapolation, subsumption, "--reuse", model.path(), "-e", next});
  const Json& first = limited.document.at("properties")[0];
  const Json& stopped = limited.document.at("properties")[1];
  const Json& after = limited.document.at("properties")[2];
  if (first.at("verdict").get<std::string>() == "unknown" ||
      stopped.at("verdict").get<std::string>() != "unknown" ||
      after.at("verdict").get<std::string>() == "unknown")
    GTEST_SKIP() << "the limit did not stop only the middle search on this machine";
  const Json& reference = alone.document.at("properties")[0];
  EXPECT_EQ(after.at("verdict").get<std::string>(), "satisfied");
  EXPECT_EQ(reference.at("verdict").get<std::string>(), "satisfied");
  EXPECT_EQ(after.at("stats").at("explored").get<double>(),
            reference.at("stats").at("explored").get<double>());
  EXPECT_EQ(after.at("stats").at("stored").get<double>(),
            reference.at("stats").at("stored").get<double>());
}

TEST(VerifierLimits, AMemoryLimitStopsTheSearch) {
  TempFile model("fischer6.ta", fischerModel(6));
  const ProcessResult run =
      runVerifier({extrapolation, subsumption, "--memory-limit", "40", model.path(), "-e", mutex});
  EXPECT_EQ(run.out, "unknown        A[] not (P1.cs and P2.cs)  (invariantly; memory limit of 40 "
                     "MiB reached)\n");
  EXPECT_EQ(run.exitStatus, 2);
}

TEST(VerifierLimits, RunningOutOfMemoryIsAnInternalFailureReportedAsSuch) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
  // Without --memory-limit nothing stops the search before an allocation
  // fails under the address-space limit of the shell.
  TempFile model("fischer6.ta", fischerModel(6));
  const ProcessResult run =
      runProcess("/bin/sh",
                 {"-c", "ulimit -v 60000; exec \"$0\" \"$@\"", ORVELA_VERIFIER_PATH, extrapolation,
                  subsumption, "--format", "json", model.path(), "-e", "E<> P1.cs", "-e", mutex},
                 "");
  EXPECT_EQ(run.exitStatus, 4) << run.err;
  EXPECT_NE(run.err.find("orvela: memory ran out"), std::string::npos) << run.err;
  const Json document = Json::parse(run.out);
  EXPECT_EQ(document.at("error").get<std::string>(), "memory ran out");
  EXPECT_EQ(document.at("exit_code").get<double>(), 4);
  // What was decided before stays reported.
  ASSERT_EQ(document.at("properties").size(), 1u);
  EXPECT_EQ(document.at("properties")[0].at("verdict").get<std::string>(), "satisfied");
}

} // namespace
} // namespace orvela::test

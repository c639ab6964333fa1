// Every example model with its query file through the verifier binary: the
// verdicts must be those of its .expected file, under every extrapolation and
// subsumption choice.

#include "VerifierFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace orvela::test {
namespace {

const std::filesystem::path examples = std::filesystem::path(ORVELA_SOURCE_DIR) / "examples";

/// The names of the examples: every NAME.expected.
std::vector<std::string> exampleNames() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(examples, error))
    if (entry.path().extension() == ".expected")
      names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Example : public testing::TestWithParam<std::string> {};

TEST_P(Example, GetsTheExpectedVerdicts) {
  const std::string name = GetParam();
  std::ifstream file(examples / (name + ".expected"));
  std::vector<std::pair<std::string, std::string>> expected; // verdict, property
  for (std::string line; std::getline(file, line);) {
    if (line.empty())
      continue;
    const std::size_t split = line.find("  ");
    ASSERT_NE(split, std::string::npos) << line;
    expected.emplace_back(line.substr(0, split), line.substr(split + 2));
  }
  for (const char* extrapolation : {"global-max", "local-max", "global-lu", "local-lu"})
    for (const char* subsumption : {"inclusion", "lu"})
      for (const char* threads : {"1", "3"}) {
        SCOPED_TRACE(std::string(extrapolation) + " " + subsumption + ", threads " + threads);
        const JsonRun run = runVerifierJson(
            {"--extrapolation", extrapolation, "--subsumption", subsumption, "--threads", threads,
             (examples / (name + ".ta")).string(), (examples / (name + ".q")).string()});
        const Json& properties = run.document.at("properties");
        ASSERT_EQ(properties.size(), expected.size()) << run.process.err;
        for (std::size_t k = 0; k < expected.size(); ++k) {
          EXPECT_EQ(properties[k].at("property").get<std::string>(), expected[k].second);
          EXPECT_EQ(properties[k].at("verdict").get<std::string>(), expected[k].first)
              << expected[k].second << ": " << properties[k].at("reason").get<std::string>();
        }
        EXPECT_TRUE(run.process.exitStatus == 0 || run.process.exitStatus == 1) << run.process.err;
      }
}

// The scheduling examples: the fastest trace takes the known optimum, and
// its last state reaches the goal.
TEST(Examples, FastestTracesTakeTheOptimalTime) {
  const std::tuple<const char*, const char*, int, const char*> cases[] = {
      {"bridge", "E<> P5.far and P10.far and P20.far and P25.far", 60, "P25"},
      {"jobshop", "E<> JobA.done and JobB.done and JobC.done", 11, "JobC"}};
  for (const auto& [name, property, optimum, process] : cases) {
    const JsonRun run = runVerifierJson({"--trace-kind", "fastest", "--trace", "-e", property,
                                         (examples / (std::string(name) + ".ta")).string()});
    const Json& result = run.document.at("properties").at(0);
    EXPECT_EQ(result.at("time"), optimum) << name;
    EXPECT_EQ(result.at("time_infimum"), false) << name;
    const Json& locations = result.at("trace").back().at("state").at("locations");
    EXPECT_EQ(locations.at(process), name == std::string("bridge") ? "far" : "done") << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, Example, testing::ValuesIn(exampleNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Example);

} // namespace
} // namespace orvela::test

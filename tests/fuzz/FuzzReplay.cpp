// Replays inputs through a fuzz target without the fuzzer: every file named
// on the command line, in name order.
// A fault aborts, so a replay that returns 0 ran every input cleanly.

#include "FuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int k = 1; k < argc; ++k) {
    inputs.emplace_back(argv[k]);
    if (!std::filesystem::is_regular_file(inputs.back())) {
      std::fprintf(stderr, "%s: no such file\n", argv[k]);
      return 2;
    }
  }
  std::sort(inputs.begin(), inputs.end());
  for (const std::filesystem::path& input : inputs) {
    std::fprintf(stderr, "replaying %s\n", input.c_str());
    const std::string data = contents(input);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return 0;
}

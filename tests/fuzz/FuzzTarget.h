#pragma once
// What the fuzz targets share: the entry point libFuzzer calls, and the
// failure that turns a wrong answer into a finding.

#include <cstddef>
#include <cstdint>

/// Runs one input through the target. Returns 0; a fault aborts.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace orvela::fuzz {

/// Reports a fault the input revealed (what happened, and the detail) on the
/// standard error stream and aborts, so that the fuzzer keeps the input.
[[noreturn]] void fault(const char* what, const char* detail);

/// Discards whatever is written to std::cerr (the progress line of long
/// searches), so that the fuzzer's own report stays readable.
void silenceDiagnostics();

} // namespace orvela::fuzz

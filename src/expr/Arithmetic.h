#pragma once
// Integer arithmetic of the model: 32-bit two's complement with wrap-around,
// computed without undefined behaviour, and the intervals that static value
// ranges are made of.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace orvela {

/// A closed interval (lower, upper) of 32-bit values.
using Interval = std::pair<int, int>;

/// The interval of every 32-bit value.
inline constexpr Interval fullInterval{INT_MIN, INT_MAX};

static_assert(sizeof(int) == sizeof(int32_t), "model values are 32-bit integers");

// The operations go through uint32_t, whose arithmetic is modular; the
// conversion back to int is modular as well (C++20).

/// a + b, wrapping around.
inline constexpr int wrapAdd(int a, int b) {
  return static_cast<int>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

/// a - b, wrapping around.
inline constexpr int wrapSubtract(int a, int b) {
  return static_cast<int>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

/// a * b, wrapping around.
inline constexpr int wrapMultiply(int a, int b) {
  return static_cast<int>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

/// -a, wrapping around (the negation of INT_MIN is INT_MIN).
inline constexpr int wrapNegate(int a) { return wrapSubtract(0, a); }

/// a / b truncated toward zero. Never traps: a quotient by 0 is 0, and
/// INT_MIN / -1 wraps around to INT_MIN like every other overflow.
inline constexpr int wrapDivide(int a, int b) {
  if (b == 0)
    return 0;
  if (b == -1)
    return wrapNegate(a);
  return a / b;
}

/// The interval [lower, upper] computed in 64 bits, as seen through 32-bit
/// evaluation: when a bound leaves the 32-bit range the evaluated values wrap
/// around and may be anything, so the only sound answer is the full interval.
inline constexpr Interval fitInterval(int64_t lower, int64_t upper) {
  if (lower < INT_MIN || upper > INT_MAX)
    return fullInterval;
  return {static_cast<int>(lower), static_cast<int>(upper)};
}

/// Whether `value` lies in `interval`.
inline constexpr bool contains(Interval interval, int value) {
  return interval.first <= value && value <= interval.second;
}

/// `value` moved into [lower, upper] (lower <= upper).
inline constexpr int clampInto(int value, int lower, int upper) {
  return std::min(std::max(value, lower), upper);
}

} // namespace orvela

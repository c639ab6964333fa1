#pragma once
// Symbol-table codes of the kinds of value, as reported by `getType()` of
// guards and clock updates.

namespace orvela {

inline constexpr int clockTypeCode = 4;
inline constexpr int integerTypeCode = 5;

} // namespace orvela

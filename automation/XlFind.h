// The spreadsheet application's enumeration values for the arguments of Range.Find, written
// once for the search that passes them and the engine that answers them.
#pragma once

#include <cstdint>

namespace XlFind {

// LookIn
inline constexpr int32_t Formulas = -4123;
inline constexpr int32_t Values = -4163;
inline constexpr int32_t Comments = -4144;
// LookAt
inline constexpr int32_t Whole = 1;
inline constexpr int32_t Part = 2;
// SearchOrder
inline constexpr int32_t ByRows = 1;
inline constexpr int32_t ByColumns = 2;
// SearchDirection
inline constexpr int32_t Next = 1;
inline constexpr int32_t Previous = 2;

}  // namespace XlFind

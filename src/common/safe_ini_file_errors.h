#pragma once

#include <cstdint>

namespace bootmark::safe_ini_errors {

// Win32 error codes the settings file reports when the system gives none of its own.
inline constexpr std::uint32_t kGeneric = 1;
inline constexpr std::uint32_t kNotEnoughMemory = 8;
inline constexpr std::uint32_t kNoUnicodeTranslation = 1113;

}  // namespace bootmark::safe_ini_errors

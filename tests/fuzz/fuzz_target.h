#pragma once
// What every fuzz target shares: the headers it needs for its input, the
// assertion, and the libFuzzer entry point, which hands the input over as text.
//
//   BOOTMARK_FUZZ_TARGET(input) {
//     Check(Parse(input).size() <= input.size());
//   }
//
// A broken promise ends the run as a crash, which libFuzzer records with the
// input that caused it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace bootmark::fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The input's first line and the rest after its line end (empty without one).
inline std::pair<std::string, std::string> SplitFirstLine(std::string_view input) {
  const std::size_t end = input.find('\n');
  if (end == std::string_view::npos) return {std::string(input), std::string()};
  return {std::string(input.substr(0, end)), std::string(input.substr(end + 1))};
}

}  // namespace bootmark::fuzz

// Each target is its own program: the names of the code under test and the
// assertion are used unqualified.
using namespace bootmark;
using bootmark::fuzz::Check;

#define BOOTMARK_FUZZ_TARGET(input)                                                   \
  static void FuzzOneInput(const std::string& input);                                 \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    FuzzOneInput(std::string(reinterpret_cast<const char*>(data), size));             \
    return 0;                                                                         \
  }                                                                                   \
  static void FuzzOneInput(const std::string& input)

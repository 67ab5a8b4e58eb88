// Arbitrary match expressions and values (the input's first line is the
// expression, the rest the value): EvaluateMatch must never crash or hang, and
// must not depend on the case of either text.
// fuzz-max-len: 65536
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/text.h"
#include "common/av_match.h"

using namespace bootmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = input.find('\n');
  const std::string_view expression = input.substr(0, lineEnd);
  const std::string_view value = lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);
  const bool result = EvaluateMatch(expression, value);
  if (EvaluateMatch(UpperCaseOrdinal(expression), UpperCaseOrdinal(value)) != result) std::abort();
  return 0;
}

// Arbitrary match expressions and values (the input's first line is the
// expression, the rest the value): EvaluateMatch must never crash or hang, and
// must not depend on the case of either text.
// fuzz-max-len: 65536
#include "base/text.h"
#include "common/av_match.h"
#include "fuzz/fuzz_target.h"

BOOTMARK_FUZZ_TARGET(input) {
  const auto [expression, value] = fuzz::SplitFirstLine(input);
  Check(EvaluateMatch(UpperCaseOrdinal(expression), UpperCaseOrdinal(value)) == EvaluateMatch(expression, value));
}

#pragma once
// Names of startup items whose makers add a varying tail or use a name per
// installation, reduced to their fixed part.
#include <string>
#include <string_view>

namespace bootmark {

// The known-task rules of item keys, in their order: a "1d..." or "1c..." time
// stamp at the end and a trailing 10-digit number are cut off, and the names of a
// few known programs become their fixed stem. `fileName` and `company` are the
// item's file name and publisher.
std::u16string ApplyKnownTaskRules(std::u16string text, std::u16string_view fileName, std::u16string_view company);

}  // namespace bootmark

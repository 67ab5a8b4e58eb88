#pragma once
// The white-list key of a startup item: an MD5 digest of its name, program file
// name, publisher and kind.
#include <string>
#include <string_view>

#include "common/ansi_encoder.h"

namespace bootmark {

// The item name with the version that some products put behind it removed, and
// the fixed names of the suite's and a few known programs' items, so that every
// version of a product hashes alike. Names that no rule knows stay as they are.
std::string NormalizeItemName(std::string_view name, std::string_view exeFileName, std::string_view company);

// MD5 of the upper-cased text normalized name + exe file name + company (each
// trimmed) + kind, in the ANSI code page, as 32 lower-case hexadecimal digits.
std::string GetItemMD5(AnsiEncoder& ansi, std::string_view name, std::string_view exeFileName,
                       std::string_view company, int kind);

}  // namespace bootmark

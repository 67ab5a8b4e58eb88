// Arbitrary bytes as a shortcut file that the shell's link object could not
// read: the program's own reader must stay within the bytes, never crash or
// hang, and give fields of at most 259 characters.
// fuzz-max-len: 16384
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/text.h"
#include "fuzz/fuzz_check.h"
#include "startup/shell_link_file.h"

using namespace bootmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto latin1 = [](std::string_view raw) { return std::u16string(raw.begin(), raw.end()); };
  if (const auto fields = ParseShellLinkFile(bytes, latin1)) {
    for (const std::string* text : {&fields->target, &fields->arguments, &fields->description,
                                    &fields->workingFolder, &fields->iconLocation}) {
      fuzz::Check(Utf8ToUtf16(*text).size() <= 259);
    }
  }
  return 0;
}

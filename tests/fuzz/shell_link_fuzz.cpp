// Arbitrary bytes as a shortcut file that the shell's link object could not
// read: the program's own reader must stay within the bytes, never crash or
// hang, and give fields of at most 259 characters.
// fuzz-max-len: 16384
#include "base/text.h"
#include "fuzz/fuzz_target.h"
#include "startup/shell_link_file.h"

BOOTMARK_FUZZ_TARGET(bytes) {
  const auto latin1 = [](std::string_view raw) { return std::u16string(raw.begin(), raw.end()); };
  if (const auto fields = ParseShellLinkFile(bytes, latin1)) {
    for (const std::string* text : {&fields->target, &fields->arguments, &fields->description,
                                    &fields->workingFolder, &fields->iconLocation}) {
      Check(Utf8ToUtf16(*text).size() <= 259);
    }
  }
}

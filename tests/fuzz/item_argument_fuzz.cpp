// Arbitrary /AddAutoRun arguments (one per input line, from the kind on): decoding
// must keep its length rule, and building the new-item record and screening the
// item on a small fake machine must never crash or hang, nor let an exception out.
// fuzz-max-len: 8192
#include <vector>

#include "alert/item_arguments.h"
#include "alert/new_item_builder.h"
#include "alert/screening.h"
#include "base/text.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

BOOTMARK_FUZZ_TARGET(input) {
  std::vector<std::string> arguments{"Bootmark.exe", "/AddAutoRun"};
  for (std::string& line : SplitText(input, "\n")) {
    if (arguments.size() < 8) arguments.push_back(std::move(line));
  }

  for (std::size_t i = 3; i < arguments.size(); ++i) {
    const std::string decoded = DecodeItemArgument(arguments[i]);
    // One UTF-16 unit per four characters (an unpaired surrogate becomes U+FFFD).
    Check(Utf8ToUtf16(decoded).size() == ArgumentValue(arguments[i]).size() / 4);
  }
  ParseItemKind(arguments.size() > 2 ? arguments[2] : "");

  testing::FakePlatform fake;
  fake.files.AddFile("C:\\Tools\\agent.exe", "MZ");
  fake.shell.links["C:\\S\\a.lnk"] = {"C:\\Tools\\agent.exe", "-x"};
  const ProgramArguments programArguments(arguments);
  TaskReader tasks(fake.platform, nullptr);
  TCheckPath checkPath(fake.platform);
  const NewStartupItem item = BuildNewStartupItem(fake.platform, tasks, programArguments);
  Check(item.FNewItemType == ParseItemKind(programArguments[2]));
  ScreenNewStartupItem({fake.platform, tasks, checkPath, true}, programArguments);
}

// Arbitrary bytes as the statistics server's answer, handled as the look-up
// handles it: decoded from the ANSI code page, brackets removed, read as an
// object, cached in "disableRate.db", and its rate put in a statistics band.
// Never a crash or a hang (the JSON reader's recursion is bounded).
// fuzz-max-len: 70000
#include "alert/disable_rate.h"
#include "base/text.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

BOOTMARK_FUZZ_TARGET(input) {
  testing::FakePlatform fake;
  const std::string response = Utf16ToUtf8(fake.files.DecodeAnsi(input));
  const auto answer = ParseDisableRateAnswer(response);
  if (!answer) return;

  DisableRateStatistic(DisableRateValue(answer->rate));

  StoreDisableRateAnswer(fake.files, fake.shell, *answer);
}

// Arbitrary bytes as the statistics server's answer, handled as the look-up
// handles it: decoded from the ANSI code page, brackets removed, read as an
// object, cached in "disableRate.db", and its rate put in a statistics band. No
// crash, and a cached answer reads back from the cache file as it was stored.
// fuzz-max-len: 70000
#include "alert/disable_rate.h"
#include "base/text.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

bool IsPlainText(std::string_view text) {
  if (text != Trim(text)) return false;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < ' ' || c == '"' || c == '\'') return false;
  }
  return true;
}

BOOTMARK_FUZZ_TARGET(input) {
  testing::FakePlatform fake;
  const std::string response = Utf16ToUtf8(fake.files.DecodeAnsi(input));
  const auto answer = ParseDisableRateAnswer(response);
  if (!answer) return;

  const std::string_view band = DisableRateStatistic(DisableRateValue(answer->rate));
  Check(band.empty() || band == "228" || band == "229" || band == "230");

  StoreDisableRateAnswer(fake.files, fake.shell, *answer);
  const std::string cachePath = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\disableRate.db";
  if (!fake.files.FileExists(cachePath)) return;
  TSafeIniFile cache(fake.files);
  cache.LoadFromFile(cachePath);
  if (IsPlainText(answer->id) && IsPlainText(answer->rate)) {
    Check(cache.ReadString(answer->id, "drate", "\x01") == answer->rate);
    Check(cache.ReadInteger(answer->id, "recommendation", -2) == answer->recommendation);
  }
}

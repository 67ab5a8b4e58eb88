// AppendAlertLog: every line added loads, rewrites and saves the whole log, so its
// cost grows with the log up to the 20,000 lines at which the log is cut back. A
// busy log cycles between 11,001 and 20,000 lines, so its average append costs
// about what one append to 15,000 lines does.
// The log lives in the in-memory file system: the figures are the function's own
// work (decoding, splitting, encoding), not the disk's.
#include <benchmark/benchmark.h>

#include <string>

#include "alert/alert_log.h"
#include "base/text.h"
#include "fakes/fake_file_system.h"

namespace bootmark {
namespace {

constexpr const char* kLog = "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\smAutoRun.log";
// A line as the alert window writes it (about 110 characters after the stamp).
constexpr const char* kText =
    "New startup item: Note Taker (C:\\Program Files\\Vendor\\Note Taker\\notetaker.exe) rate 42% publisher Vendor";

class BenchClock : public IClock {
 public:
  std::uint32_t TickCount() override { return 0; }
  DateTime Now() override { return 45731.5; }
  DateTime UtcNow() override { return 45731.25; }
  void Sleep(std::uint32_t) override {}
};

class BenchEnvironment : public IEnvironment {
 public:
  std::optional<std::string> GetVariable(std::string_view) override { return std::nullopt; }
  std::optional<std::string> ExpandVariables(std::string_view text) override { return std::string(text); }
  std::string CommandLine() override { return {}; }
  std::string ExecutablePath() override { return "C:\\Program Files\\Tarvo\\Kestrune\\Bootmark.exe"; }
};

// A log of `lines` lines as AppendAlertLog writes them.
std::string LogOf(int lines) {
  std::string bytes = "\xFF\xFE";
  for (int i = 0; i < lines; ++i) {
    AppendUtf16(bytes, "2025-03-14 12:00:00 000 Bootmark.exe " + std::string(kText) + " " + std::to_string(i) +
                           "\r\n");
  }
  return bytes;
}

// One append to a log of n lines; the log is put back between iterations. With
// n = 20,000 the append first drops the oldest 9,000 lines.
void BM_AppendAlertLog(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string log = LogOf(n);
  FakeFileSystem files;
  BenchClock clock;
  BenchEnvironment environment;
  for (auto _ : state) {
    state.PauseTiming();
    files.AddFile(kLog, log);
    state.ResumeTiming();
    AppendAlertLog(files, clock, environment, kText, kLog);
  }
  state.counters["log_bytes"] = static_cast<double>(log.size());
}
BENCHMARK(BM_AppendAlertLog)->Arg(1000)->Arg(10000)->Arg(15000)->Arg(19999)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bootmark

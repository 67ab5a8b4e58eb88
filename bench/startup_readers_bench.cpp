// The startup readers of the inventory (TMainCtl::GetStartupData) over a fake
// machine of n registry "Run" values and n/10 shortcuts: the values spread over
// the three Run keys (the user's, the machine's in both views) and started by 50
// vendor programs; the shortcuts in the user's Startup folder, one in ten of them
// moved into the suite's backup folder; one Run value in twenty disabled by the
// suite and known only from its record in "delStartups.ini". Every item gets its
// facts: command-line resolution, publisher, item key, rate look-ups, boot time,
// Windows' startup settings.
#include <benchmark/benchmark.h>

#include <string>

#include "common/system_info.h"
#include "fakes/fake_platform.h"
#include "startup/main_ctl.h"
#include "unit/sqlite_test_files.h"

namespace bootmark {
namespace {

constexpr int kVendorPrograms = 50;
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kStartup = "C:\\Users\\Ann\\Start\\";
constexpr const char* kRecords = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Startup Manager\\";

struct StartupMachine {
  explicit StartupMachine(int values) {
    fake.environment.executablePath = programDir + "Bootmark.exe";
    fake.environment.variables = {{"Path", "C:\\Windows\\system32"}, {"windir", "C:\\Windows"}};
    fake.files.AddDirectory(programDir + "Database");
    const auto program = [](int i) { return "C:\\Program Files\\Vendor " + std::to_string(i % kVendorPrograms) + "\\app.exe"; };
    for (int i = 0; i < kVendorPrograms; ++i) fake.files.AddFile(program(i), "MZ");
    const std::pair<RegistryRoot, RegistryView> keys[] = {{RegistryRoot::CurrentUser, RegistryView::Default},
                                                          {RegistryRoot::LocalMachine, RegistryView::Default},
                                                          {RegistryRoot::LocalMachine, RegistryView::Registry64}};
    std::string records = "[Main]\r\n";
    for (int i = 0; i < values; ++i) {
      const std::string name = "Value " + std::to_string(i), command = "\"" + program(i) + "\" -run " + std::to_string(i);
      if (i % 20 == 0) {
        records += std::to_string(i) + "=ItemType:1|RegPathType:1|RegFullPath:HKEY_CURRENT_USER\\" + kRunKey +
                   "|RegKeyName:" + name + "|RegCmdLine:" + command + "|\r\n";
        continue;
      }
      fake.registry.SetString(keys[i % 3].first, kRunKey, name, command, keys[i % 3].second);
    }
    fake.files.AddFile(std::string(kRecords) + "delStartups.ini", records);
    fake.shell.folders[csidl::kStartup] = "C:\\Users\\Ann\\Start";
    for (int i = 0; i < values / 10; ++i) {
      const std::string link = (i % 10 == 0 ? std::string(kRecords) + "Shortcut\\" : std::string(kStartup)) +
                               "Link " + std::to_string(i) + ".lnk";
      fake.files.AddFile(link, "L");
      fake.shell.linkFields[link] = {program(i), "-tray", "Link", "", ""};
    }
  }

  testing::ScratchFolder scratch;
  const std::string programDir = scratch.File("Kestrune") + "\\";
  testing::FakePlatform fake;
};

void BM_GetStartupData(benchmark::State& state) {
  const int values = static_cast<int>(state.range(0));
  StartupMachine machine(values);
  SystemInfo system(machine.fake.platform);
  TaskReader tasks(machine.fake.platform, nullptr);
  TCheckPath checkPath(machine.fake.platform);
  const LocalIdentity identity;
  std::size_t listed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TMainCtl controller(InventoryContext{machine.fake.platform, system, tasks, checkPath, identity, nullptr});
    controller.SetFilter(false);
    state.ResumeTiming();
    controller.GetStartupData(true);
    listed = controller.Lists().startup.size();
  }
  const int items = values + values / 10;
  if (listed != static_cast<std::size_t>(items)) state.SkipWithError("not every item was listed");
  state.counters["per_item"] = benchmark::Counter(static_cast<double>(items),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}
BENCHMARK(BM_GetStartupData)
    ->ArgName("values")
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace bootmark

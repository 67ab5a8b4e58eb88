// The whole inventory gathering (TMainCtl::GetAllData) over a fake machine of n
// items: half services, nine in ten of them run by the system's "svchost.exe" and
// the rest by 50 vendor programs, and half scheduled tasks in 50 folders, each task
// with its own program. Every item is described in full: command-line resolution,
// publisher, item key, rate look-ups in the lookup databases, boot time, record
// files, the quick-optimise list and the startup cache written at the end.
//
// The counters "version_reads" and "signer_reads" count the reads of a version
// resource and of a signature in one gathering: each file is read once.
#include <benchmark/benchmark.h>

#include <string>

#include "common/system_info.h"
#include "fakes/fake_platform.h"
#include "fakes/task_xml_files.h"
#include "startup/main_ctl.h"
#include "unit/sqlite_test_files.h"

namespace bootmark {
namespace {

constexpr int kFolders = 50;
constexpr int kVendorPrograms = 50;

class CountingVersions : public IVersionResources {
 public:
  explicit CountingVersions(IVersionResources& inner) : inner_(inner) {}
  std::optional<std::string> ReadVersionResource(std::string_view path) override {
    ++reads;
    return inner_.ReadVersionResource(path);
  }
  int reads = 0;

 private:
  IVersionResources& inner_;
};

class CountingSigner : public IFileSigner {
 public:
  explicit CountingSigner(IFileSigner& inner) : inner_(inner) {}
  std::string EmbeddedSignerName(std::string_view path) override {
    ++reads;
    return inner_.EmbeddedSignerName(path);
  }
  int reads = 0;

 private:
  IFileSigner& inner_;
};

struct InventoryMachine {
  explicit InventoryMachine(int items) {
    fake.environment.executablePath = programDir + "Bootmark.exe";
    fake.environment.variables = {{"Path", "C:\\Windows\\system32"}, {"windir", "C:\\Windows"}};
    fake.files.AddDirectory(programDir + "Database");
    fake.files.AddDirectory(std::string(testing::kTaskStore));
    fake.services.states["Schedule"] = service_state::kRunning;
    fake.files.AddFile("C:\\Windows\\system32\\svchost.exe", "MZ");
    for (int i = 0; i < kVendorPrograms; ++i) {
      fake.files.AddFile("C:\\Program Files\\Vendor " + std::to_string(i) + "\\service.exe", "MZ");
    }
    const int services = items / 2;
    for (int i = 0; i < services; ++i) {
      const std::string path = i % 10 != 0 ? "C:\\Windows\\system32\\svchost.exe -k group" + std::to_string(i % 20)
                                           : "\"C:\\Program Files\\Vendor " + std::to_string(i % kVendorPrograms) +
                                                 "\\service.exe\" -run";
      fake.services.installed.push_back(
          {"Service" + std::to_string(i), "Service number " + std::to_string(i), 2u + i % 3u, path, ""});
    }
    testing::TaskXml task;
    task.triggers = std::string(testing::kLogonTrigger);
    for (int i = 0; i < items - services; ++i) {
      const std::string program = "C:\\Program Files\\App " + std::to_string(i) + "\\updater.exe";
      fake.files.AddFile(program, "MZ");
      task.actions = "<Exec><Command>" + program + "</Command></Exec>";
      testing::AddTask(fake.files, "\\Vendor " + std::to_string(i % kFolders) + "\\Updater task " + std::to_string(i),
                       task);
    }
  }

  testing::ScratchFolder scratch;
  const std::string programDir = scratch.File("Kestrune") + "\\";
  testing::FakePlatform fake;
  CountingVersions versions{fake.versions};
  CountingSigner signer{fake.signer};
  Platform platform{fake.files,    fake.profile,       fake.environment, fake.clock,   fake.debug,
                    fake.shell,    fake.processes,     fake.desktop,     fake.system,  fake.wow64,
                    fake.display,  fake.registry,      versions,         fake.services, fake.tasks,
                    fake.accounts, signer,             fake.suiteExchange, fake.http};
};

void BM_GetAllData(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  InventoryMachine machine(items);
  SystemInfo system(machine.platform);
  TaskReader tasks(machine.platform, nullptr);
  TCheckPath checkPath(machine.platform);
  const LocalIdentity identity;
  std::size_t listed = 0;
  for (auto _ : state) {
    machine.versions.reads = 0;
    machine.signer.reads = 0;
    TMainCtl controller(InventoryContext{machine.platform, system, tasks, checkPath, identity, nullptr});
    controller.SetFilter(state.range(1) != 0);
    controller.GetAllData();
    listed = controller.Lists().services.size() + controller.Lists().tasks.size();
  }
  if (listed != static_cast<std::size_t>(items)) state.SkipWithError("not every item was listed");
  state.counters["per_item"] = benchmark::Counter(static_cast<double>(items),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
  state.counters["version_reads"] = machine.versions.reads;
  state.counters["signer_reads"] = machine.signer.reads;
}
// Second argument: the filter flag (0 as in /mainData; 1 adds the hide test with
// its signer look-up of every file).
BENCHMARK(BM_GetAllData)
    ->ArgsProduct({{1000, 5000, 10000}, {0, 1}})
    ->ArgNames({"items", "filter"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace bootmark

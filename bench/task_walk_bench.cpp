// The scheduled-task snapshot over the scheduler's store: n task files spread over
// 50 folders of a fake file system, read by the folder walk (every task opened,
// its triggers, actions and settings read) and written as one [TaskStatus] key
// each. This is the whole /UpdateTaskschd job less the process start.
#include <benchmark/benchmark.h>

#include <string>

#include "fakes/fake_platform.h"
#include "fakes/task_xml_files.h"
#include "startup/task_reader.h"
#include "startup/task_status.h"

namespace bootmark {
namespace {

constexpr int kFolders = 50;

void PlaceTasks(testing::FakePlatform& machine, int count) {
  machine.files.AddDirectory(std::string(testing::kTaskStore));
  testing::TaskXml task;
  task.triggers = std::string(testing::kLogonTrigger) + std::string(testing::kDailyTrigger);
  for (int i = 0; i < count; ++i) {
    const std::string folder = "\\Vendor " + std::to_string(i % kFolders);
    testing::AddTask(machine.files, folder + "\\Updater task " + std::to_string(i), task);
  }
}

void BM_SnapshotTaskStatus(benchmark::State& state) {
  testing::FakePlatform machine;
  machine.services.states["Schedule"] = service_state::kRunning;
  PlaceTasks(machine, static_cast<int>(state.range(0)));
  TaskReader reader(machine.platform, nullptr);
  const auto listed = reader.GetAllTasks(nullptr, "\\", true, false);
  if (!listed || listed->size() != static_cast<std::size_t>(state.range(0))) {
    state.SkipWithError("the walk did not list every task");
    return;
  }
  for (auto _ : state) {
    SnapshotTaskStatus(machine.platform, reader);
  }
  state.SetComplexityN(state.range(0));
  state.counters["per_task"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}
BENCHMARK(BM_SnapshotTaskStatus)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace bootmark

#include "app/default_mode_jobs.h"

#include "alert/disable_rate.h"
#include "alert/screening.h"
#include "startup/task_status.h"
#include "suite/statistics.h"

namespace bootmark {

namespace {

// The task reader and the command-line resolver; the screening needs no more.
void MakeResolvers(const Platform& platform, ProcessState& state) {
  if (!state.system) state.system = std::make_unique<SystemInfo>(platform);
  if (!state.tasks) state.tasks = std::make_unique<TaskReader>(platform, state.logs.get());
  if (!state.checkPath) state.checkPath = std::make_unique<TCheckPath>(platform);
}

}  // namespace

InventoryContext InventoryContextFor(const Platform& platform, ProcessState& state) {
  MakeResolvers(platform, state);
  if (!state.identity) state.identity = LoadLocalIdentity(platform, *state.system);
  return InventoryContext{platform, *state.system, *state.tasks, *state.checkPath, *state.identity, state.logs.get()};
}

const StatState& StatisticsFor(const Platform& platform, ProcessState& state) {
  if (!state.statistics.initialised) StatInit(platform, state.statistics, kStatisticsProgram);
  return state.statistics;
}

void DefaultModeJobs::SendStatistic(std::string_view eventId) {
  StatSend(platform_, StatisticsFor(platform_, state_), eventId);
}

std::vector<StartupFileEntry> DefaultModeJobs::CollectStartupFiles() {
  TMainCtl controller(InventoryContextFor(platform_, state_));
  controller.SetFilter(false);
  controller.GetAllData();

  std::vector<StartupFileEntry> entries;
  const StartupLists& lists = controller.Lists();
  const auto add = [&entries](const StartupRecordHead& item) { entries.push_back({item.FullPath, item.Exist}); };
  for (const TStartupItem& item : lists.startup) add(item);
  for (const TServiceItem& item : lists.services) add(item);
  for (const TTaskScheduleItem& item : lists.tasks) add(item);
  return entries;
}

void DefaultModeJobs::SnapshotTaskStatus() {
  MakeResolvers(platform_, state_);
  bootmark::SnapshotTaskStatus(platform_, *state_.tasks);
}

bool DefaultModeJobs::NewItemNeedsAlert(const ProgramArguments& arguments) {
  MakeResolvers(platform_, state_);
  const ScreeningContext context{platform_, *state_.tasks, *state_.checkPath, state_.system->IsWow64()};
  return !ScreenNewStartupItem(context, arguments);
}

bool DefaultModeJobs::NewItemRecommendedToKeep(const ProgramArguments& arguments) {
  const InventoryContext made = InventoryContextFor(platform_, state_);
  return CheckDisableRate(platform_, made.tasks, made.checkPath, made.identity, arguments,
                          [this](std::string_view eventId) { SendStatistic(eventId); });
}

}  // namespace bootmark

#include "app/default_mode_jobs.h"

#include "alert/disable_rate.h"
#include "alert/screening.h"
#include "startup/main_ctl.h"
#include "startup/task_status.h"
#include "suite/statistics.h"

namespace bootmark {

void DefaultModeJobs::StartStatistics() { StatInit(platform_, state_.statistics, kStatisticsProgram); }

void DefaultModeJobs::SendStatistic(std::string_view eventId) { StatSend(platform_, state_.statistics, eventId); }

std::vector<StartupFileEntry> DefaultModeJobs::CollectStartupFiles() {
  EnsureItemResolvers();
  TMainCtl controller(
      InventoryContext{platform_, *state_.system, *state_.tasks, *state_.checkPath, Identity(), state_.logs.get()});
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
  EnsureItemResolvers();
  bootmark::SnapshotTaskStatus(platform_, *state_.tasks);
}

void DefaultModeJobs::EnsureItemResolvers() {
  if (!state_.system) state_.system = std::make_unique<SystemInfo>(platform_);
  if (!state_.tasks) state_.tasks = std::make_unique<TaskReader>(platform_, state_.logs.get());
  if (!state_.checkPath) state_.checkPath = std::make_unique<TCheckPath>(platform_);
}

const LocalIdentity& DefaultModeJobs::Identity() {
  EnsureItemResolvers();
  if (!state_.identity) state_.identity = LoadLocalIdentity(platform_, *state_.system);
  return *state_.identity;
}

bool DefaultModeJobs::NewItemNeedsAlert(const ProgramArguments& arguments) {
  EnsureItemResolvers();
  const ScreeningContext context{platform_, *state_.tasks, *state_.checkPath,
                                 state_.system != nullptr && state_.system->IsWow64()};
  return !ScreenNewStartupItem(context, arguments);
}

bool DefaultModeJobs::NewItemRecommendedToKeep(const ProgramArguments& arguments) {
  EnsureItemResolvers();
  return CheckDisableRate(platform_, *state_.tasks, *state_.checkPath, Identity(), arguments,
                          [this](std::string_view eventId) { SendStatistic(eventId); });
}

}  // namespace bootmark

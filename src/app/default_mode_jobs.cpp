#include "app/default_mode_jobs.h"

#include "alert/disable_rate.h"
#include "alert/screening.h"
#include "startup/task_status.h"
#include "suite/statistics.h"

namespace bootmark {

// The startup readers are not in this build yet. Until they are, the inventory is
// empty. The other jobs are the real ones.

void DefaultModeJobs::StartStatistics() { StatInit(platform_, state_.statistics, kStatisticsProgram); }

void DefaultModeJobs::SendStatistic(std::string_view eventId) { StatSend(platform_, state_.statistics, eventId); }

std::vector<StartupFileEntry> DefaultModeJobs::CollectStartupFiles() { return {}; }

void DefaultModeJobs::SnapshotTaskStatus() {
  if (state_.tasks) bootmark::SnapshotTaskStatus(platform_, *state_.tasks);
}

void DefaultModeJobs::EnsureItemResolvers() {
  if (!state_.tasks) state_.tasks = std::make_unique<TaskReader>(platform_, state_.logs.get());
  if (!state_.checkPath) state_.checkPath = std::make_unique<TCheckPath>(platform_);
}

bool DefaultModeJobs::NewItemNeedsAlert(const ProgramArguments& arguments) {
  EnsureItemResolvers();
  const ScreeningContext context{platform_, *state_.tasks, *state_.checkPath,
                                 state_.system != nullptr && state_.system->IsWow64()};
  return !ScreenNewStartupItem(context, arguments);
}

bool DefaultModeJobs::NewItemRecommendedToKeep(const ProgramArguments& arguments) {
  EnsureItemResolvers();
  return CheckDisableRate(platform_, *state_.tasks, *state_.checkPath, state_.identity, arguments,
                          [this](std::string_view eventId) { SendStatistic(eventId); });
}

}  // namespace bootmark

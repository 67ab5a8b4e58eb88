#include "app/default_mode_jobs.h"

namespace bootmark {

// The statistics program, the startup readers, the task reader, the screening
// chain and the disable-rate lookup are not in this build yet. Until they are,
// each job does the least that is still correct for the suite: no statistics are
// sent, the inventory is empty, the task snapshot is left as it is, and every new
// item is alerted with no advice to keep it.

void DefaultModeJobs::StartStatistics() {}

void DefaultModeJobs::SendStatistic(std::string_view) {}

std::vector<StartupFileEntry> DefaultModeJobs::CollectStartupFiles() { return {}; }

void DefaultModeJobs::SnapshotTaskStatus() {}

bool DefaultModeJobs::NewItemNeedsAlert(const ProgramArguments&) { return true; }

bool DefaultModeJobs::NewItemRecommendedToKeep(const ProgramArguments&) { return false; }

}  // namespace bootmark

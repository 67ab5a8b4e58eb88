#pragma once
// The mode jobs as far as this build of the program has them.
#include "app/mode_jobs.h"

namespace bootmark {

class DefaultModeJobs : public IModeJobs {
 public:
  void StartStatistics() override;
  void SendStatistic(std::string_view eventId) override;
  std::vector<StartupFileEntry> CollectStartupFiles() override;
  void SnapshotTaskStatus() override;
  bool NewItemNeedsAlert(const ProgramArguments& arguments) override;
  bool NewItemRecommendedToKeep(const ProgramArguments& arguments) override;
};

}  // namespace bootmark

#pragma once
// The mode jobs as far as this build of the program has them.
#include "app/mode_jobs.h"
#include "app/process_state.h"
#include "platform/platform.h"

namespace bootmark {

class DefaultModeJobs : public IModeJobs {
 public:
  DefaultModeJobs(const Platform& platform, ProcessState& state) : platform_(platform), state_(state) {}

  void StartStatistics() override;
  void SendStatistic(std::string_view eventId) override;
  std::vector<StartupFileEntry> CollectStartupFiles() override;
  void SnapshotTaskStatus() override;
  bool NewItemNeedsAlert(const ProgramArguments& arguments) override;
  bool NewItemRecommendedToKeep(const ProgramArguments& arguments) override;

 private:
  // The task reader and the command-line resolver the jobs need, created on first
  // use: a run that ends before any job starts neither COM nor the lists.
  void EnsureItemResolvers();
  // The local identity lists, read on first use (after the task reader).
  const LocalIdentity& Identity();

  const Platform& platform_;
  ProcessState& state_;
};

}  // namespace bootmark

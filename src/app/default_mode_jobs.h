#pragma once
// The mode jobs as far as this build of the program has them.
#include "app/mode_jobs.h"
#include "app/process_state.h"
#include "platform/platform.h"
#include "startup/main_ctl.h"

namespace bootmark {

// What the inventory and the new-item jobs need, made on first use: the task reader
// (with its COM set-up), the command-line resolver and the local identity lists. A
// run that ends before any job needs them makes none of them.
InventoryContext InventoryContextFor(const Platform& platform, ProcessState& state);

// The usage statistics, set up by the first event that is sent: the suite's
// version, partner, install type and history are read only by a run that sends one.
const StatState& StatisticsFor(const Platform& platform, ProcessState& state);

class DefaultModeJobs : public IModeJobs {
 public:
  DefaultModeJobs(const Platform& platform, ProcessState& state) : platform_(platform), state_(state) {}

  void SendStatistic(std::string_view eventId) override;
  std::vector<StartupFileEntry> CollectStartupFiles() override;
  void SnapshotTaskStatus() override;
  bool NewItemNeedsAlert(const ProgramArguments& arguments) override;
  bool NewItemRecommendedToKeep(const ProgramArguments& arguments) override;

 private:
  const Platform& platform_;
  ProcessState& state_;
};

}  // namespace bootmark

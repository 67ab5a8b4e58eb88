#pragma once
// The work the entry hands to the other subsystems. The entry decides when each
// runs; the subsystems decide what it does.
#include <string>
#include <string_view>
#include <vector>

#include "base/program_arguments.h"

namespace bootmark {

// One startup entry as the main-data list needs it.
struct StartupFileEntry {
  std::string filePath;
  bool fileExists = false;
};

class IModeJobs {
 public:
  virtual ~IModeJobs() = default;

  // Sends one usage statistics event by its id text (the statistics are set up
  // by the first event).
  virtual void SendStatistic(std::string_view eventId) = 0;

  // Every startup entry of the machine, white-list filtering off. Throws when the
  // inventory cannot be gathered.
  virtual std::vector<StartupFileEntry> CollectStartupFiles() = 0;

  // Rewrites the stored enabled state of every scheduled task ([TaskStatus] of
  // "Bootmark\Bootmark.ini").
  virtual void SnapshotTaskStatus() = 0;

  // Screening of the new item named by the /AddAutoRun arguments: true when the
  // user should be alerted.
  virtual bool NewItemNeedsAlert(const ProgramArguments& arguments) = 0;
  // True when the maker's statistics advise to keep the new item enabled.
  virtual bool NewItemRecommendedToKeep(const ProgramArguments& arguments) = 0;
};

}  // namespace bootmark

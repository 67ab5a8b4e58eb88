// The quick-optimise list and the optimisable count: the items the suite's
// optimiser can still improve, and how many of them it should.
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"
#include "startup/main_ctl.h"
#include "startup/record_files.h"

namespace bootmark {
namespace {

using R = Recommendation;
using S = ItemState;

// The state of a startup item already satisfies its recommendation.
bool StartupStateSatisfies(R recommendation, S state) {
  return (recommendation == R::Keep && state == S::Enabled) || (recommendation == R::Disable && state == S::Disabled) ||
         (recommendation == R::Delay && state == S::Delayed) || (recommendation == R::Remove && state == S::Missing);
}

// The optimiser acts on an item in this state with this recommendation.
bool Actionable(R recommendation, S state) {
  switch (recommendation) {
    case R::Remove: return true;
    case R::Disable: return state != S::Disabled;
    case R::Candidate: return state == S::Enabled;
    case R::Unknown: return state == S::Enabled || state == S::Missing;
    default: return false;
  }
}

}  // namespace

void TMainCtl::BuildQuickOptimizeList(bool clearFirst) {
  if (clearFirst) quickOptimize_.clear();
  int count = 0;
  const auto add = [&](StartupRecordHead& item, ItemKind kind, S state, const std::string& name) {
    if (!item.Exist) item.Recommand = R::Remove;
    TSMQuickOptimizeItem line;
    line.BootSeconds = BootSecondsOf(item.Boottime);
    line.Name = name;
    line.BootTimeText = item.Boottime;
    line.DisableRate = item.Disabltrate;
    line.ItemHash = item.ItemHash;
    line.Md5 = item.Md5;
    line.Description = item.Description;
    line.FullPath = item.FullPath;
    line.ItemType = kind;
    line.Recommand = item.Recommand;
    line.ItemStatus = state;
    line.Ignored = RecordedIn(*ignored_, item.ItemHash);
    if (!line.Ignored && (line.Recommand == R::Disable || line.Recommand == R::Remove)) ++count;
    quickOptimize_.push_back(std::move(line));
  };

  for (TStartupItem& item : lists_.startup) {
    if (IsProtectedSoftware(item.FullPath) || StartupStateSatisfies(item.Recommand, item.ItemStatus) ||
        RecordedIn(*optimised_, item.ItemHash) || RecordedIn(*failed_, item.ItemHash)) {
      continue;
    }
    if (Actionable(item.Recommand, item.ItemStatus)) add(item, item.StartupType, item.ItemStatus, item.Name);
  }

  for (TServiceItem& item : lists_.services) {
    if (IsProtectedSoftware(item.FullPath) || RecommendedStatus(item.Recommand) == item.ItemStatus ||
        RecordedIn(*optimised_, item.ItemHash) || RecordedIn(*failed_, item.ItemHash)) {
      continue;
    }
    if (!Actionable(item.Recommand, item.ItemStatus)) continue;
    if (item.SerType == kSystemVendorService && !GetKnownServiceInfo(item.Name)) continue;
    add(item, ItemKind::Service, item.ItemStatus, item.SerShowName);
  }

  for (TTaskScheduleItem& item : lists_.tasks) {
    const S state = item.IsTaskEnable ? S::Enabled : S::Disabled;
    if (IsProtectedSoftware(item.FullPath) || (item.IsTaskEnable && item.Recommand == R::Keep) ||
        (!item.IsTaskEnable && item.Recommand != R::Remove) || RecordedIn(*optimised_, item.ItemHash) ||
        (!item.IsStartBoot && item.Exist)) {
      continue;
    }
    const bool accepted = item.Recommand == R::Candidate || item.Recommand == R::Disable ||
                          item.Recommand == R::Remove || (item.Recommand == R::Unknown && item.IsTaskEnable);
    if (accepted) add(item, ItemKind::ScheduledTask, state, item.Name);
  }

  WriteCanOptCount(count);
}

void TMainCtl::WriteCanOptCount(int count) {
  TSafeIniFile config(platform_.files, GetSuiteUserDataDir(platform_.shell) + "Startup Manager\\config.ini");
  config.WriteInteger("main", "CanOptCount", count);
}

}  // namespace bootmark

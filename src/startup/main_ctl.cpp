#include "startup/main_ctl.h"

#include "startup/item_md5.h"
#include "boottime/boot_time.h"
#include "common/data_dirs.h"
#include "base/md5.h"
#include "base/path.h"
#include "base/text.h"
#include "startup/record_files.h"
#include "startup/service_database.h"
#include "startup/startup_cache.h"
#include "startup/startup_item_id.h"
#include "base/utf16_text.h"

namespace bootmark {
namespace {

constexpr std::string_view kUpdateSettings = "Update\\Update.ini";
constexpr std::string_view kDisableRateFile = "Startup Manager\\disableRate.db";

// Rewrites a record file as UTF-16 LE with byte order mark, so that the profile
// functions keep its text whole. A file that cannot be read or decoded is left as
// it is.
void RewriteAsUtf16(IFileSystem& files, const std::string& path) {
  if (!files.FileExists(path)) return;
  const Result<std::string> bytes = files.ReadAll(path);
  std::string text;
  if (!bytes || !DecodeFileText(files, *bytes, text)) return;
  std::string utf16(ByteOrderMark(TextEncoding::Utf16LE));
  AppendUtf16(utf16, text);
  if (utf16 != *bytes) static_cast<void>(files.ReplaceAll(path, utf16));
}

// MD5 of the UTF-8 bytes of the upper-cased text, as the white and black lists key items.
std::string ListKey(std::string_view text) { return Md5Hex(UpperCaseOrdinal(text)); }

std::string LowerCaseAscii(std::string_view text) { return Utf16ToUtf8(utf16::LowerAscii(Utf8ToUtf16(text))); }

bool IsSuiteMonitorProgram(std::string_view fileName) {
  const std::string lower = LowerCaseAscii(fileName);
  return lower == "ksttray.exe" || lower == "kstservice.exe" || lower == "monitor.exe";
}

// Closes the file-system redirection switch that GetAllData opened, however it ends.
class RedirectionOff {
 public:
  explicit RedirectionOff(SystemInfo& system) : system_(system) { off_ = system_.DisableWow64Redirection(old_); }
  ~RedirectionOff() { Restore(); }
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;
  void Restore() {
    if (off_) system_.RevertWow64Redirection(old_);
    off_ = false;
  }

 private:
  SystemInfo& system_;
  Wow64RedirectionValue old_ = 0;
  bool off_ = false;
};

// Opens a lookup database and asks it for its table once, so that a file that
// is not a database fails here, where the controller is made, rather than in the
// middle of a gathering.
std::unique_ptr<TSqliteObj> OpenLookupDatabase(IFileSystem& files, const std::string& path, std::string_view table) {
  auto database = std::make_unique<TSqliteObj>(files, path);
  database->TableExists(table);
  return database;
}

}  // namespace

TMainCtl::TMainCtl(const InventoryContext& context)
    : context_(context),
      platform_(context.platform),
      keys_(context.identity, [this](std::string_view name) { return FindTaskAccount(name); }),
      fileFacts_(context.platform),
      disableRates_(context.platform.files),
      serviceDatabase_(context.platform.files) {
  IFileSystem& files = platform_.files;
  const std::string programDir = ProgramDir(platform_.environment);
  TSafeIniFile update(files);
  update.LoadFromFile(programDir + std::string(kUpdateSettings));
  ignoreWlist_ = update.ReadInteger("Startup", "IgnoreWlist", 0) == 1;
  filter_ = true;

  userRecordFolder_ = GetSuiteUserDataDir(platform_.shell) + "Startup Manager\\";
  for (std::string_view name :
       {kIgnoreRecords, kDeletedRecords, kDelayedRecords, kOptimizedRecords, kFailedRecords}) {
    RewriteAsUtf16(files, userRecordFolder_ + std::string(name));
  }
  const auto records = [&](std::string_view name) {
    return std::make_unique<TIniFile>(files, platform_.profile, userRecordFolder_ + std::string(name));
  };

  // The read-only lists are read whole once; they are never written.
  disableRates_.LoadFromFile(GetSuiteCommonDataDir(platform_.shell) + std::string(kDisableRateFile));
  serviceDatabase_.LoadFromFile(programDir + "Database\\startupService.db");
  ignored_ = records(kIgnoreRecords);
  rateDatabase_ = OpenLookupDatabase(files, programDir + std::string(kStartupDRateDb), "disableRate");
  if (!ignoreWlist_) {
    whiteDatabase_ = OpenLookupDatabase(files, programDir + std::string(kStartupWhiteDb), "whiteList");
  }
  blackDatabase_ = OpenLookupDatabase(files, programDir + std::string(kStartupBlackDb), "blackList");
  deleted_ = records(kDeletedRecords);
  delayed_ = records(kDelayedRecords);
  optimised_ = records(kOptimizedRecords);
  failed_ = records(kFailedRecords);
}

TMainCtl::~TMainCtl() = default;

void TMainCtl::DetailLog(std::string_view text) {
  if (context_.logs != nullptr) WriteTraceLog(*context_.logs, text, true);
}

void TMainCtl::GetAllData() {
  busy_ = true;
  try {
    RunGatheringSteps();
  } catch (...) {
    busy_ = false;
    throw;
  }
  busy_ = false;
}

void TMainCtl::RunGatheringSteps() {
  DetailLog("TMainCtl.GetAllData 1");
  RedirectionOff redirection(context_.system);
  DetailLog("TMainCtl.GetAllData 2");
  if (!stop_) GetStartupData(false);
  DetailLog("TMainCtl.GetAllData 3");
  if (!stop_) GetServiceData(false);
  DetailLog("TMainCtl.GetAllData 4");
  if (!stop_) GetTaskscheduleData(false);
  DetailLog("TMainCtl.GetAllData 5");
  redirection.Restore();
  // The browser plug-ins would be gathered here by the browser plug-in framework;
  // the list stays empty.
  DetailLog("TMainCtl.GetAllData 6");
  if (!protectedSoftware_) BuildProtectedSoftware();
  DetailLog("TMainCtl.GetAllData 7");
  if (!stop_) BuildQuickOptimizeList(false);
  DetailLog("TMainCtl.GetAllData 8");
  if (!stop_ && cache_ == nullptr) {
    WriteStartupCache(platform_.files, StartupCachePath(platform_.shell), lists_, platform_.clock.Now());
  }
}

ItemRateFacts TMainCtl::GetItemRateFacts(std::string_view name, std::string_view fileName, std::string_view company,
                                         ItemKind kind) {
  ItemRateFacts facts;
  if (name.empty() || fileName.empty() || company.empty()) return facts;
  const int kindNumber = static_cast<int>(kind);
  facts.md5 = ItemMd5Key(keys_, name, fileName, company, kindNumber);
  if (facts.md5.empty()) return facts;

  std::string rate = disableRates_.ReadString(facts.md5, "drate", "");
  facts.recommendation = static_cast<Recommendation>(disableRates_.ReadInteger(facts.md5, "recommendation", -1));
  if ((rate.empty() || SameText(rate, "N/A")) && rateDatabase_->TableExists("disableRate")) {
    const DisableRateRow row = rateDatabase_->GetDisableRate(facts.md5);
    rate = row.rate;
    facts.recommendation = static_cast<Recommendation>(row.recommendation);
  }
  facts.rate = rate.empty() ? "N/A" : rate;

  const std::string key =
      ListKey(keys_.StripItemKey(name) + std::string(fileName) + std::string(company) + IntToStr(kindNumber));
  if (whiteDatabase_ && whiteDatabase_->IsInWhiteList(key)) {
    facts.recommendation = Recommendation::Keep;
  } else if (blackDatabase_->IsInBlackList(key)) {
    facts.recommendation = Recommendation::Disable;
  }
  return facts;
}

std::string TMainCtl::GetItemBootTime(const StartupRecordHead& item) {
  if (cache_ != nullptr) return cache_->ReadString(CacheSectionName(item), "Boottime", "");
  if (item.FullPath.empty()) return {};
  if (!bootTimes_) {
    bootTimes_ = std::make_unique<TSafeIniFile>(platform_.files);
    bootTimes_->LoadFromFile(BootTimeDatPath(platform_.shell));
  }
  return GetItemStartupTime(*bootTimes_, item.FullPath, platform_.system.DecimalSeparator());
}

bool TMainCtl::IsHiddenItem(std::string_view name, std::string_view fileName, ItemKind kind,
                            std::string_view fullPath, std::string_view company) {
  if (!filter_ || ignoreWlist_ || !whiteDatabase_) return false;
  const std::string signer = LowerCaseAscii(fileFacts_.Signer(fullPath));
  if (!signer.empty()) {
    try {
      if (whiteDatabase_->IsInSignatureList(signer)) return true;
    } catch (const std::exception& error) {
      DetailLog(std::string("IsHiddenItem signatureList : ") + error.what());
    }
  }
  const std::string key =
      ListKey(keys_.StripItemKey(Trim(NormalizeItemName(name, fileName, company))) + std::string(Trim(fileName)) +
              std::string(Trim(company)) + IntToStr(static_cast<int>(kind)));
  const bool known = whiteDatabase_->IsInWhiteList(key) || SameText(company, "TARVO") ||
                     StartsWith(UpperCaseOrdinal(name), "TARVO_AUTOSHUTDOWN");
  return known && !IsSuiteMonitorProgram(fileName);
}

std::optional<std::string> TMainCtl::GetKnownServiceInfo(std::string_view serviceName) {
  return KnownServiceName(serviceDatabase_, OSFamilyOf(context_.system.GetOSName(true)), serviceName);
}

std::optional<TaskAccountFields> TMainCtl::FindTaskAccount(std::string_view name) {
  if (!context_.tasks.Interface2()) return TaskAccountFinder(context_.tasks)(name);
  if (!taskAccounts_) {
    taskAccounts_.emplace();
    if (const std::optional<TaskList> all = context_.tasks.GetAllTasks(nullptr, "\\", true, true)) {
      for (const std::unique_ptr<TTaskInfo>& task : *all) {
        taskAccounts_->try_emplace(UpperCaseOrdinal(task->Name), TaskAccountFields{task->UserId, task->Author});
      }
    }
  }
  const auto found = taskAccounts_->find(UpperCaseOrdinal(name));
  if (found == taskAccounts_->end()) return std::nullopt;
  return found->second;
}

bool TMainCtl::RecordedIn(TIniFile& records, const std::string& hash) {
  return !FindRecordKey(records, hash).empty();
}

}  // namespace bootmark

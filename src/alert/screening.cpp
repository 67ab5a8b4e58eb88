#include "alert/screening.h"

#include "alert/item_arguments.h"
#include "alert/item_exe_path.h"
#include "alert/new_item.h"
#include "alert/shortcut.h"
#include "alert/tarvo_operation.h"
#include "alert/task_lookup.h"
#include "base/path.h"
#include "base/text.h"
#include "common/av_signers.h"
#include "common/data_dirs.h"
#include "common/file_signer.h"
#include "common/lookup_databases.h"
#include "common/safe_ini_file.h"
#include "startup/item_md5.h"
#include "startup/task_status.h"

namespace bootmark {
namespace {

bool ContainsUpper(std::string_view text, std::string_view upperPart) {
  return UpperCaseOrdinal(text).find(upperPart) != std::string::npos;
}

// One run of the chain over one item.
class Screening {
 public:
  Screening(const ScreeningContext& context, const ProgramArguments& arguments)
      : context_(context), platform_(context.platform), arguments_(arguments) {}

  // True = no alert.
  bool Run();

 private:
  // Writes the filter's line; the chain ends with no alert.
  bool PassOver(std::string_view line) {
    platform_.debug.Write(line);
    return true;
  }
  bool TaskFilters();
  bool InSignatureList();
  bool InWhiteList();
  bool IsAntivirusProgram();
  bool TaskStateUnchanged();
  bool IgnoredByUser();
  // Asks a lookup database of the program's folder. A missing file lists nothing
  // and is not opened: SQLite would create it empty.
  template <typename Query>
  bool AskDatabase(std::string_view relative, Query query) {
    const std::string path = ProgramDir(platform_.environment) + std::string(relative);
    if (!platform_.files.FileExists(path)) return false;
    TSqliteObj database(platform_.files, path);
    return query(database);
  }

  const ScreeningContext& context_;
  const Platform& platform_;
  const ProgramArguments& arguments_;

  int kind_ = item_kind::kRegistryValue;
  std::string itemPath_;
  std::string name_;
  std::string exeText_;
  bool taskEnabled_ = false;
  std::string exePath_;
  std::string exeFileName_;
  std::string signer_;
  std::string company_;
};

bool Screening::Run() {
  kind_ = ParseItemKind(arguments_[2]);
  itemPath_ = DecodeItemArgument(arguments_[3]);
  name_ = ExtractFileName(itemPath_);

  if (kind_ == item_kind::kScheduledTask) {
    if (TaskFilters()) return true;
  } else if (kind_ == item_kind::kStartupShortcut) {
    std::string linkArguments;
    ResolveShortcut(platform_, itemPath_, exeText_, linkArguments);
  } else {
    exeText_ = DecodeItemArgument(arguments_[4]);
  }
  platform_.debug.Write("NewItemExePath : " + exeText_);

  // An item whose program cannot be found is never alerted.
  exePath_ = GetItemExePath(context_.checkPath, exeText_);
  if (!platform_.files.FileExists(exePath_)) return PassOver("1.startupSignature.db: NewItemExePath is Null");

  signer_ = GetFileSigner(platform_.signer, exePath_);
  if (InSignatureList()) return PassOver("1.startupSignature.db : " + name_);
  exeFileName_ = ExtractFileName(exePath_);
  if (InWhiteList()) return PassOver("2.startupWhite.db : " + name_);
  if (SameText(exeFileName_, "svchost.exe")) return PassOver("2.1 svchost.exe Filter : " + name_);
  if (ContainsUpper(Trim(company_), "MICROSOFT CORPORATION")) {
    return PassOver("2.2 Microsoft Corporation Filter : " + name_);
  }
  if (IsAntivirusProgram()) return true;
  if (kind_ == item_kind::kScheduledTask && TaskStateUnchanged()) return PassOver("4.TaskFilter : " + name_);

  const bool suiteWroteIt =
      kind_ == item_kind::kStartupShortcut
          ? IsTarvoOperation(platform_, context_.checkPath, name_, kind_, "", itemPath_)
          : IsTarvoOperation(platform_, context_.checkPath, name_, kind_, exePath_, "");
  if (suiteWroteIt) return PassOver("5.IsTarvoOperation : " + name_);
  if (IgnoredByUser()) return PassOver("6.manu ignore : " + name_);
  return false;
}

bool Screening::TaskFilters() {
  platform_.debug.Write("TaskPath : " + itemPath_);
  const std::string upperPath = UpperCaseOrdinal(itemPath_);
  for (const std::string_view microsoftTasks :
       {"C:\\WINDOWS\\TASKS\\MICROSOFT\\", "C:\\WINDOWS\\SYSTEM32\\TASKS\\MICROSOFT\\"}) {
    if (upperPath.find(microsoftTasks) != std::string::npos) return PassOver("00. Task Microsoft");
  }
  if (!TaskHasTriggers(context_.tasks, name_)) return PassOver("0 TaskTriger disable");
  if (!context_.tasks.IsSystemStartTask(name_, "")) return PassOver("0-1 Task is not system start type");

  exeText_ = GetTaskExePath(context_.tasks, name_, taskEnabled_);
  // A program text the scheduler holds as ""C:\x.exe"" is taken without its quotes.
  if (exeText_.find("\"\"") != std::string::npos) std::erase(exeText_, '"');
  // The suite's own shutdown task.
  if (ContainsUpper(name_, "TARVO_AUTOSHUTDOWN")) return PassOver("1.startupSignature.db : " + name_);
  return false;
}

bool Screening::InSignatureList() {
  if (signer_.empty()) return false;
  try {
    return AskDatabase(kStartupSignatureDb, [this](TSqliteObj& database) {
      return database.IsInSignatureList(NormalizeSignerName(signer_));
    });
  } catch (...) {
    return false;
  }
}

bool Screening::InWhiteList() {
  try {
    std::string description;
    GetFileCompany(platform_.files, platform_.versions, exePath_, description, company_);
    AnsiEncoder ansi(platform_.files);
    // A shortcut's program is listed as a registry value's would be.
    const int listedKind = kind_ == item_kind::kStartupShortcut ? item_kind::kRegistryValue : kind_;
    const std::string md5 = GetItemMD5(ansi, name_, exeFileName_, company_, listedKind);
    return AskDatabase(kStartupWhiteDb,
                       [&md5](TSqliteObj& database) { return database.IsInWhiteList(UpperCaseOrdinal(md5)); });
  } catch (...) {
    return false;
  }
}

bool Screening::IsAntivirusProgram() {
  try {
    if (signer_.empty() || !IsAVSoftwareSigner(platform_, context_.on64BitWindows, signer_)) return false;
    return PassOver("3.AVSoftwareFilter : " + name_);
  } catch (...) {
    return PassOver("3.AVSoftwareFilter : raise a bug");
  }
}

bool Screening::TaskStateUnchanged() {
  if (!taskEnabled_) {
    SetStoredTaskStatus(platform_, name_, false);
    return true;
  }
  // Already enabled when the states were last stored: nothing new to report.
  if (GetStoredTaskStatus(platform_, name_)) return true;
  SetStoredTaskStatus(platform_, name_, true);
  return false;
}

bool Screening::IgnoredByUser() {
  const std::string path = GetSuiteUserDataDir(platform_.shell) + std::string(kIgnoreIniName);
  if (!platform_.files.FileExists(path)) return false;
  const TSafeIniFile ignored(platform_.files, path);
  return ignored.ReadString(kIgnoreSection, MakeIgnoreKey(name_, exePath_, kind_), "0") == "1";
}

}  // namespace

bool ScreenNewStartupItem(const ScreeningContext& context, const ProgramArguments& arguments) {
  try {
    return Screening(context, arguments).Run();
  } catch (...) {
    return false;
  }
}

}  // namespace bootmark

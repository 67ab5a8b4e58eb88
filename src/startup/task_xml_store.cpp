#include "startup/task_xml_store.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "base/text.h"
#include "startup/task_xml.h"

namespace bootmark {
namespace {

// Task files are a few kilobytes; anything far larger is not one.
constexpr std::uint64_t kMaxTaskFileBytes = 4 * 1024 * 1024;

using Document = std::shared_ptr<const XmlElement>;

bool ParseBoolText(const std::optional<std::string>& text, bool defaultValue) {
  if (!text) return defaultValue;
  if (*text == "true" || *text == "1") return true;
  if (*text == "false" || *text == "0") return false;
  return defaultValue;
}

std::int32_t ParseIntText(const std::optional<std::string>& text, std::int32_t defaultValue) {
  if (!text) return defaultValue;
  const std::optional<std::int64_t> value = TryParseInteger(*text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return defaultValue;
  return static_cast<std::int32_t>(*value);
}

// Index of `text` in `names`, or `defaultValue`.
template <std::size_t N>
std::int32_t IndexOf(const std::optional<std::string>& text, const std::array<std::string_view, N>& names,
                     std::int32_t defaultValue) {
  if (!text) return defaultValue;
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == *text) return static_cast<std::int32_t>(i);
  }
  return defaultValue;
}

// Bit i for each child of `list` named names[i].
template <std::size_t N>
std::int32_t BitsOf(const XmlElement* list, const std::array<std::string_view, N>& names) {
  std::int32_t bits = 0;
  if (list == nullptr) return bits;
  for (const XmlElement& child : list->children) {
    for (std::size_t i = 0; i < N; ++i) {
      if (child.name == names[i]) bits |= 1 << i;
    }
  }
  return bits;
}

constexpr std::array<std::string_view, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// 2.0 trigger type of a trigger element; nullopt for elements that are not triggers.
std::optional<std::int32_t> TriggerTypeOf(const XmlElement& element) {
  const std::string& name = element.name;
  if (name == "EventTrigger") return 0;
  if (name == "TimeTrigger") return 1;
  if (name == "CalendarTrigger") {
    if (element.Child("ScheduleByDay")) return 2;
    if (element.Child("ScheduleByWeek")) return 3;
    if (element.Child("ScheduleByMonth")) return 4;
    if (element.Child("ScheduleByMonthDayOfWeek")) return 5;
    return 1;
  }
  if (name == "IdleTrigger") return 6;
  if (name == "RegistrationTrigger") return 7;
  if (name == "BootTrigger") return 8;
  if (name == "LogonTrigger") return 9;
  if (name == "SessionStateChangeTrigger") return 11;
  return std::nullopt;
}

std::optional<std::int32_t> ActionTypeOf(const XmlElement& element) {
  if (element.name == "Exec") return 0;
  if (element.name == "ComHandler") return 5;
  if (element.name == "SendEmail") return 6;
  if (element.name == "ShowMessage") return 7;
  return std::nullopt;
}

std::string TextOr(const XmlElement& element, std::string_view path) {
  return element.ChildText(path).value_or("");
}

class XmlTrigger : public ITaskTrigger {
 public:
  XmlTrigger(Document document, const XmlElement& element, std::int32_t type)
      : document_(std::move(document)), e_(element), type_(type) {}

  std::int32_t Type() override { return type_; }
  std::string RepetitionInterval() override { return TextOr(e_, "Repetition/Interval"); }
  std::string RepetitionDuration() override { return TextOr(e_, "Repetition/Duration"); }
  bool StopAtDurationEnd() override {
    return ParseBoolText(e_.ChildText("Repetition/StopAtDurationEnd"), false);
  }
  bool Enabled() override { return ParseBoolText(e_.ChildText("Enabled"), true); }
  std::string ExecutionTimeLimit() override { return TextOr(e_, "ExecutionTimeLimit"); }
  std::string StartBoundary() override { return TextOr(e_, "StartBoundary"); }
  std::string EndBoundary() override { return TextOr(e_, "EndBoundary"); }
  std::int32_t DaysInterval() override {
    return ParseIntText(e_.ChildText("ScheduleByDay/DaysInterval"), 1);
  }
  std::int32_t DaysOfWeek() override {
    const XmlElement* week = e_.Child("ScheduleByWeek");
    return BitsOf(week ? week->Child("DaysOfWeek") : nullptr, kDays);
  }
  std::int32_t WeeksInterval() override {
    return ParseIntText(e_.ChildText("ScheduleByWeek/WeeksInterval"), 1);
  }
  std::int32_t DaysOfMonth() override {
    const XmlElement* month = e_.Child("ScheduleByMonth");
    const XmlElement* days = month ? month->Child("DaysOfMonth") : nullptr;
    std::int32_t bits = 0;
    if (days == nullptr) return bits;
    for (const XmlElement& day : days->children) {
      const std::int32_t number = ParseIntText(std::string(Trim(day.text)), 0);
      if (day.name == "Day" && number >= 1 && number <= 31) {
        bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits) | (1u << (number - 1)));
      }
    }
    return bits;
  }
  std::int32_t MonthsOfYear() override {
    const XmlElement* month = e_.Child("ScheduleByMonth");
    return BitsOf(month ? month->Child("Months") : nullptr, kMonths);
  }
  std::string Delay() override { return TextOr(e_, "Delay"); }

 private:
  Document document_;  // keeps `e_` alive
  const XmlElement& e_;
  std::int32_t type_;
};

class XmlAction : public ITaskAction {
 public:
  XmlAction(Document document, const XmlElement& element, std::int32_t type)
      : document_(std::move(document)), e_(element), type_(type) {}

  std::int32_t Type() override { return type_; }
  std::string ExecPath() override { return TextOr(e_, "Command"); }
  std::string ExecArguments() override { return TextOr(e_, "Arguments"); }
  std::string ExecWorkingDirectory() override { return TextOr(e_, "WorkingDirectory"); }
  std::string MessageTitle() override { return TextOr(e_, "Title"); }
  std::string MessageBody() override { return TextOr(e_, "Body"); }

 private:
  Document document_;
  const XmlElement& e_;
  std::int32_t type_;
};

class XmlDefinition : public ITaskDefinition {
 public:
  explicit XmlDefinition(Document document) : document_(std::move(document)) {
    if (const XmlElement* triggers = document_->Child("Triggers")) {
      for (const XmlElement& child : triggers->children) {
        if (const auto type = TriggerTypeOf(child)) triggers_.emplace_back(&child, *type);
      }
    }
    if (const XmlElement* actions = document_->Child("Actions")) {
      for (const XmlElement& child : actions->children) {
        if (const auto type = ActionTypeOf(child)) actions_.emplace_back(&child, *type);
      }
    }
  }

  std::string Author() override { return TextOr(*document_, "RegistrationInfo/Author"); }
  std::string Description() override { return TextOr(*document_, "RegistrationInfo/Description"); }
  std::string UserId() override { return TextOr(*document_, "Principals/Principal/UserId"); }
  std::int32_t RunLevel() override {
    static constexpr std::array<std::string_view, 2> kLevels = {"LeastPrivilege", "HighestAvailable"};
    return IndexOf(document_->ChildText("Principals/Principal/RunLevel"), kLevels, 0);
  }
  std::int32_t LogonType() override {
    static constexpr std::array<std::string_view, 7> kTypes = {
        "None", "Password", "S4U", "InteractiveToken", "Group", "ServiceAccount",
        "InteractiveTokenOrPassword"};
    return IndexOf(document_->ChildText("Principals/Principal/LogonType"), kTypes, 0);
  }
  std::int32_t TriggerCount() override { return static_cast<std::int32_t>(triggers_.size()); }
  std::unique_ptr<ITaskTrigger> Trigger(std::int32_t index) override {
    const auto& [element, type] = At(triggers_, index);
    return std::make_unique<XmlTrigger>(document_, *element, type);
  }
  std::int32_t ActionCount() override { return static_cast<std::int32_t>(actions_.size()); }
  std::unique_ptr<ITaskAction> Action(std::int32_t index) override {
    const auto& [element, type] = At(actions_, index);
    return std::make_unique<XmlAction>(document_, *element, type);
  }

  // The defaults are those the scheduler reports for a definition that leaves
  // the value out.
  void ReadSettings(TaskSettingsValues& v) override {
    static const XmlElement kEmpty;
    const XmlElement* found = document_->Child("Settings");
    const XmlElement& s = found ? *found : kEmpty;
    v.enabled = ParseBoolText(s.ChildText("Enabled"), true);
    v.priority = ParseIntText(s.ChildText("Priority"), 7);
    v.runOnlyIfIdle = ParseBoolText(s.ChildText("RunOnlyIfIdle"), false);
    v.disallowStartIfOnBatteries = ParseBoolText(s.ChildText("DisallowStartIfOnBatteries"), true);
    v.stopIfGoingOnBatteries = ParseBoolText(s.ChildText("StopIfGoingOnBatteries"), true);
    v.idleDuration = s.ChildText("IdleSettings/Duration").value_or("PT10M");
    v.idleWaitTimeout = s.ChildText("IdleSettings/WaitTimeout").value_or("PT1H");
    v.stopOnIdleEnd = ParseBoolText(s.ChildText("IdleSettings/StopOnIdleEnd"), true);
    v.restartOnIdle = ParseBoolText(s.ChildText("IdleSettings/RestartOnIdle"), false);
    v.wakeToRun = ParseBoolText(s.ChildText("WakeToRun"), false);
    v.allowDemandStart = ParseBoolText(s.ChildText("AllowStartOnDemand"), true);
    v.startWhenAvailable = ParseBoolText(s.ChildText("StartWhenAvailable"), false);
    v.restartInterval = s.ChildText("RestartOnFailure/Interval").value_or("");
    v.restartCount = ParseIntText(s.ChildText("RestartOnFailure/Count"), 0);
    v.executionTimeLimit = s.ChildText("ExecutionTimeLimit").value_or("PT72H");
    v.allowHardTerminate = ParseBoolText(s.ChildText("AllowHardTerminate"), true);
    static constexpr std::array<std::string_view, 4> kPolicies = {"Parallel", "Queue", "IgnoreNew",
                                                                  "StopExisting"};
    v.multipleInstances = IndexOf(s.ChildText("MultipleInstancesPolicy"), kPolicies, 2);
    v.hidden = ParseBoolText(s.ChildText("Hidden"), false);
    v.compatibility = Compatibility();
  }

 private:
  using Entry = std::pair<const XmlElement*, std::int32_t>;

  static const Entry& At(const std::vector<Entry>& entries, std::int32_t index) {
    if (index < 1 || index > static_cast<std::int32_t>(entries.size())) {
      throw TaskSchedulerError("The index is out of range", 0x80070057u);
    }
    return entries[static_cast<std::size_t>(index - 1)];
  }

  // The schema version of the document ("1.2") is the compatibility level the
  // task was registered with: 1.1 is level 1, 1.2 level 2, and so on.
  std::int32_t Compatibility() const {
    const std::optional<std::string> version = document_->Attribute("version");
    if (version && version->size() == 3 && (*version)[0] == '1' && (*version)[1] == '.' &&
        (*version)[2] >= '1' && (*version)[2] <= '9') {
      return (*version)[2] - '0';
    }
    return 2;
  }

  Document document_;
  std::vector<Entry> triggers_;
  std::vector<Entry> actions_;
};

Document ParseTaskDocument(std::string_view bytes) {
  std::optional<XmlElement> root = ParseXmlDocument(bytes);
  if (!root || root->name != "Task") throw TaskSchedulerError("The task XML is malformed", 0x8004131Au);
  return std::make_shared<const XmlElement>(std::move(*root));
}

class XmlRegisteredTask : public IRegisteredTask {
 public:
  XmlRegisteredTask(IFileSystem& files, std::string file, std::string name, std::string path)
      : files_(files), file_(std::move(file)), name_(std::move(name)), path_(std::move(path)) {}

  std::string Name() override { return name_; }
  std::string Path() override { return path_; }
  bool Enabled() override {
    return ParseBoolText(Load()->ChildText("Settings/Enabled"), true);
  }
  std::unique_ptr<ITaskDefinition> Definition() override {
    return std::make_unique<XmlDefinition>(Load());
  }

 private:
  Document Load() {
    if (document_) return document_;
    const std::optional<std::uint64_t> size = files_.FileSize(file_);
    if (!size) throw TaskSchedulerError("The task file cannot be opened", 0x80070002u);
    if (*size > kMaxTaskFileBytes) throw TaskSchedulerError("The task file is too large", 0x8004131Au);
    const Result<std::string> bytes = files_.ReadAll(file_);
    if (!bytes) throw TaskSchedulerError("The task file cannot be read", 0x80070000u | bytes.error());
    document_ = ParseTaskDocument(*bytes);
    return document_;
  }

  IFileSystem& files_;
  std::string file_;
  std::string name_;
  std::string path_;
  Document document_;
};

std::vector<std::string> SortedNames(std::vector<std::string> names) {
  std::sort(names.begin(), names.end(), TextLessIgnoreCase{});
  return names;
}

class XmlFolder : public ITaskFolder {
 public:
  XmlFolder(IFileSystem& files, std::string directory, std::string path)
      : files_(files), directory_(std::move(directory)), path_(std::move(path)) {}

  std::string Path() override { return path_; }
  std::int32_t TaskCount() override { return static_cast<std::int32_t>(Tasks().size()); }
  std::unique_ptr<IRegisteredTask> Task(std::int32_t index) override {
    const std::string& name = At(Tasks(), index);
    return std::make_unique<XmlRegisteredTask>(files_, directory_ + "\\" + name, name, Child(name));
  }
  std::int32_t FolderCount() override { return static_cast<std::int32_t>(Folders().size()); }
  std::unique_ptr<ITaskFolder> Folder(std::int32_t index) override {
    const std::string& name = At(Folders(), index);
    return std::make_unique<XmlFolder>(files_, directory_ + "\\" + name, Child(name));
  }

 private:
  std::string Child(std::string_view name) const {
    return (path_ == "\\" ? path_ : path_ + "\\") + std::string(name);
  }
  static const std::string& At(const std::vector<std::string>& names, std::int32_t index) {
    if (index < 1 || index > static_cast<std::int32_t>(names.size())) {
      throw TaskSchedulerError("The index is out of range", 0x80070057u);
    }
    return names[static_cast<std::size_t>(index - 1)];
  }
  const std::vector<std::string>& Tasks() {
    if (!tasks_) tasks_ = SortedNames(files_.FindFiles(directory_, "*"));
    return *tasks_;
  }
  const std::vector<std::string>& Folders() {
    if (!folders_) folders_ = SortedNames(files_.FindFolders(directory_));
    return *folders_;
  }

  IFileSystem& files_;
  std::string directory_;
  std::string path_;
  std::optional<std::vector<std::string>> tasks_;
  std::optional<std::vector<std::string>> folders_;
};

// "\A\B" as a folder below the store's root; nullopt for paths that would leave it.
std::optional<std::string> RelativeDirectory(std::string_view path) {
  std::string relative;
  for (const std::string& part : SplitText(path, "\\")) {
    if (part.empty()) continue;
    if (part == "." || part == ".." || part.find('/') != std::string::npos) return std::nullopt;
    relative += "\\" + part;
  }
  return relative;
}

std::string NormalPath(std::string_view relative) {
  return relative.empty() ? std::string("\\") : std::string(relative);
}

}  // namespace

TaskXmlStore::TaskXmlStore(IFileSystem& files, std::string root) : files_(files), root_(std::move(root)) {
  while (!root_.empty() && root_.back() == '\\') root_.pop_back();
}

std::unique_ptr<ITaskFolder> TaskXmlStore::OpenFolder(std::string_view path) {
  const std::optional<std::string> relative = RelativeDirectory(path);
  if (!relative || !files_.DirectoryExists(root_ + *relative)) return nullptr;
  return std::make_unique<XmlFolder>(files_, root_ + *relative, NormalPath(*relative));
}

std::unique_ptr<ITaskFolder> TaskXmlStore::CreateFolder(std::string_view name) {
  const std::optional<std::string> relative = RelativeDirectory(name);
  if (!relative || relative->empty()) return nullptr;
  std::string directory = root_;
  for (const std::string& part : SplitText(relative->substr(1), "\\")) {
    directory += "\\" + part;
    if (!files_.CreateDirectory(directory)) return nullptr;
  }
  return std::make_unique<XmlFolder>(files_, directory, NormalPath(*relative));
}

std::unique_ptr<ITaskDefinition> ParseTaskDefinition(std::string_view bytes) {
  return std::make_unique<XmlDefinition>(ParseTaskDocument(bytes));
}

}  // namespace bootmark

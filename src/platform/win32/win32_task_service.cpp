// Task Scheduler 2.0 through its COM interfaces. Every failed call throws
// TaskSchedulerError with the call's name and result, which the reader logs as
// the failed step.
#include <windows.h>
#include <initguid.h>
#include <taskschd.h>

#include <cstdio>

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_task_interfaces.h"
#include "platform/win32/win32_task_service.h"

namespace bootmark::win32 {
namespace {

[[noreturn]] void Fail(const char* call, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, "%s : %08lX", call, static_cast<unsigned long>(result));
  throw TaskSchedulerError(text, static_cast<std::uint32_t>(result));
}

void Check(HRESULT result, const char* call) {
  if (FAILED(result)) Fail(call, result);
}

// A required sub-object: an empty answer is a failure as well.
template <typename Interface>
ComPtr<Interface> Need(ComPtr<Interface> object, const char* call) {
  if (!object) Fail(call, E_NOINTERFACE);
  return object;
}

template <typename Interface>
void Require(const ComPtr<Interface>& object, const char* call) {
  if (!object) Fail(call, E_NOINTERFACE);
}

template <typename Object, typename Getter>
std::string Text(Object* object, Getter getter, const char* call) {
  UniqueBstr text;
  Check((object->*getter)(text.Put()), call);
  return TextOf(text);
}

template <typename Value, typename Object, typename Getter>
Value Number(Object* object, Getter getter, const char* call) {
  Value value{};
  Check((object->*getter)(&value), call);
  return value;
}

template <typename Object, typename Getter>
bool Flag(Object* object, Getter getter, const char* call) {
  return Number<VARIANT_BOOL>(object, getter, call) != VARIANT_FALSE;
}

VARIANT IndexVariant(std::int32_t index) {
  VARIANT variant;
  ::VariantInit(&variant);
  variant.vt = VT_I4;
  variant.lVal = index;
  return variant;
}

class ComTrigger : public ITaskTrigger {
 public:
  explicit ComTrigger(ComPtr<ITrigger> trigger) : t_(std::move(trigger)) {}

  std::int32_t Type() override { return Number<TASK_TRIGGER_TYPE2>(t_.Get(), &ITrigger::get_Type, "ITrigger.get_Type"); }
  std::string RepetitionInterval() override {
    return Text(Repetition().Get(), &IRepetitionPattern::get_Interval, "IRepetitionPattern.get_Interval");
  }
  std::string RepetitionDuration() override {
    return Text(Repetition().Get(), &IRepetitionPattern::get_Duration, "IRepetitionPattern.get_Duration");
  }
  bool StopAtDurationEnd() override {
    return Flag(Repetition().Get(), &IRepetitionPattern::get_StopAtDurationEnd,
                "IRepetitionPattern.get_StopAtDurationEnd");
  }
  bool Enabled() override { return Flag(t_.Get(), &ITrigger::get_Enabled, "ITrigger.get_Enabled"); }
  std::string ExecutionTimeLimit() override {
    return Text(t_.Get(), &ITrigger::get_ExecutionTimeLimit, "ITrigger.get_ExecutionTimeLimit");
  }
  std::string StartBoundary() override { return Text(t_.Get(), &ITrigger::get_StartBoundary, "ITrigger.get_StartBoundary"); }
  std::string EndBoundary() override { return Text(t_.Get(), &ITrigger::get_EndBoundary, "ITrigger.get_EndBoundary"); }
  std::int32_t DaysInterval() override {
    auto daily = Need(t_.As<IDailyTrigger>(), "IDailyTrigger");
    return Number<short>(daily.Get(), &IDailyTrigger::get_DaysInterval, "IDailyTrigger.get_DaysInterval");
  }
  std::int32_t DaysOfWeek() override {
    auto weekly = Need(t_.As<IWeeklyTrigger>(), "IWeeklyTrigger");
    return Number<short>(weekly.Get(), &IWeeklyTrigger::get_DaysOfWeek, "IWeeklyTrigger.get_DaysOfWeek");
  }
  std::int32_t WeeksInterval() override {
    auto weekly = Need(t_.As<IWeeklyTrigger>(), "IWeeklyTrigger");
    return Number<short>(weekly.Get(), &IWeeklyTrigger::get_WeeksInterval, "IWeeklyTrigger.get_WeeksInterval");
  }
  std::int32_t DaysOfMonth() override {
    auto monthly = Need(t_.As<IMonthlyTrigger>(), "IMonthlyTrigger");
    return Number<long>(monthly.Get(), &IMonthlyTrigger::get_DaysOfMonth, "IMonthlyTrigger.get_DaysOfMonth");
  }
  std::int32_t MonthsOfYear() override {
    auto monthly = Need(t_.As<IMonthlyTrigger>(), "IMonthlyTrigger");
    return Number<short>(monthly.Get(), &IMonthlyTrigger::get_MonthsOfYear, "IMonthlyTrigger.get_MonthsOfYear");
  }
  std::string Delay() override {
    if (auto boot = t_.As<IBootTrigger>()) return Text(boot.Get(), &IBootTrigger::get_Delay, "IBootTrigger.get_Delay");
    auto logon = Need(t_.As<ILogonTrigger>(), "ILogonTrigger");
    return Text(logon.Get(), &ILogonTrigger::get_Delay, "ILogonTrigger.get_Delay");
  }

 private:
  ComPtr<IRepetitionPattern> Repetition() {
    ComPtr<IRepetitionPattern> pattern;
    Check(t_->get_Repetition(pattern.Put()), "ITrigger.get_Repetition");
    return Need(std::move(pattern), "ITrigger.get_Repetition");
  }

  ComPtr<ITrigger> t_;
};

class ComAction : public ITaskAction {
 public:
  explicit ComAction(ComPtr<IAction> action) : a_(std::move(action)) {}

  std::int32_t Type() override { return Number<TASK_ACTION_TYPE>(a_.Get(), &IAction::get_Type, "IAction.get_Type"); }
  std::string ExecPath() override { return Text(Exec().Get(), &IExecAction::get_Path, "IExecAction.get_Path"); }
  std::string ExecArguments() override {
    return Text(Exec().Get(), &IExecAction::get_Arguments, "IExecAction.get_Arguments");
  }
  std::string ExecWorkingDirectory() override {
    return Text(Exec().Get(), &IExecAction::get_WorkingDirectory, "IExecAction.get_WorkingDirectory");
  }
  std::string MessageTitle() override {
    return Text(Message().Get(), &IShowMessageAction::get_Title, "IShowMessageAction.get_Title");
  }
  std::string MessageBody() override {
    return Text(Message().Get(), &IShowMessageAction::get_MessageBody, "IShowMessageAction.get_MessageBody");
  }

 private:
  ComPtr<IExecAction> Exec() { return Need(a_.As<IExecAction>(), "IExecAction"); }
  ComPtr<IShowMessageAction> Message() { return Need(a_.As<IShowMessageAction>(), "IShowMessageAction"); }

  ComPtr<IAction> a_;
};

class ComDefinition : public ::bootmark::ITaskDefinition {
 public:
  explicit ComDefinition(ComPtr<::ITaskDefinition> definition) : d_(std::move(definition)) {}

  std::string Author() override {
    return Text(Registration().Get(), &IRegistrationInfo::get_Author, "IRegistrationInfo.get_Author");
  }
  std::string Description() override {
    return Text(Registration().Get(), &IRegistrationInfo::get_Description, "IRegistrationInfo.get_Description");
  }
  std::string UserId() override { return Text(Principal().Get(), &IPrincipal::get_UserId, "IPrincipal.get_UserId"); }
  std::int32_t RunLevel() override {
    return Number<TASK_RUNLEVEL_TYPE>(Principal().Get(), &IPrincipal::get_RunLevel, "IPrincipal.get_RunLevel");
  }
  std::int32_t LogonType() override {
    return Number<TASK_LOGON_TYPE>(Principal().Get(), &IPrincipal::get_LogonType, "IPrincipal.get_LogonType");
  }
  std::int32_t TriggerCount() override {
    return Number<long>(Triggers().Get(), &ITriggerCollection::get_Count, "ITriggerCollection.get_Count");
  }
  std::unique_ptr<ITaskTrigger> Trigger(std::int32_t index) override {
    ComPtr<ITrigger> trigger;
    Check(Triggers()->get_Item(index, trigger.Put()), "ITriggerCollection.get_Item");
    return std::make_unique<ComTrigger>(Need(std::move(trigger), "ITriggerCollection.get_Item"));
  }
  std::int32_t ActionCount() override {
    return Number<long>(Actions().Get(), &IActionCollection::get_Count, "IActionCollection.get_Count");
  }
  std::unique_ptr<ITaskAction> Action(std::int32_t index) override {
    ComPtr<IAction> action;
    Check(Actions()->get_Item(index, action.Put()), "IActionCollection.get_Item");
    return std::make_unique<ComAction>(Need(std::move(action), "IActionCollection.get_Item"));
  }
  void ReadSettings(TaskSettingsValues& v) override {
    ComPtr<ITaskSettings> s;
    Check(d_->get_Settings(s.Put()), "ITaskDefinition.get_Settings");
    Require(s, "ITaskDefinition.get_Settings");
    ITaskSettings* settings = s.Get();
    v.enabled = Flag(settings, &ITaskSettings::get_Enabled, "ITaskSettings.get_Enabled");
    v.priority = Number<int>(settings, &ITaskSettings::get_Priority, "ITaskSettings.get_Priority");
    v.runOnlyIfIdle = Flag(settings, &ITaskSettings::get_RunOnlyIfIdle, "ITaskSettings.get_RunOnlyIfIdle");
    v.disallowStartIfOnBatteries = Flag(settings, &ITaskSettings::get_DisallowStartIfOnBatteries,
                                        "ITaskSettings.get_DisallowStartIfOnBatteries");
    v.stopIfGoingOnBatteries =
        Flag(settings, &ITaskSettings::get_StopIfGoingOnBatteries, "ITaskSettings.get_StopIfGoingOnBatteries");
    ComPtr<IIdleSettings> idle;
    Check(settings->get_IdleSettings(idle.Put()), "ITaskSettings.get_IdleSettings");
    Require(idle, "ITaskSettings.get_IdleSettings");
    v.idleDuration = Text(idle.Get(), &IIdleSettings::get_IdleDuration, "IIdleSettings.get_IdleDuration");
    v.idleWaitTimeout = Text(idle.Get(), &IIdleSettings::get_WaitTimeout, "IIdleSettings.get_WaitTimeout");
    v.stopOnIdleEnd = Flag(idle.Get(), &IIdleSettings::get_StopOnIdleEnd, "IIdleSettings.get_StopOnIdleEnd");
    v.restartOnIdle = Flag(idle.Get(), &IIdleSettings::get_RestartOnIdle, "IIdleSettings.get_RestartOnIdle");
    v.wakeToRun = Flag(settings, &ITaskSettings::get_WakeToRun, "ITaskSettings.get_WakeToRun");
    v.allowDemandStart = Flag(settings, &ITaskSettings::get_AllowDemandStart, "ITaskSettings.get_AllowDemandStart");
    v.startWhenAvailable =
        Flag(settings, &ITaskSettings::get_StartWhenAvailable, "ITaskSettings.get_StartWhenAvailable");
    v.restartInterval = Text(settings, &ITaskSettings::get_RestartInterval, "ITaskSettings.get_RestartInterval");
    v.restartCount = Number<int>(settings, &ITaskSettings::get_RestartCount, "ITaskSettings.get_RestartCount");
    v.executionTimeLimit =
        Text(settings, &ITaskSettings::get_ExecutionTimeLimit, "ITaskSettings.get_ExecutionTimeLimit");
    v.allowHardTerminate =
        Flag(settings, &ITaskSettings::get_AllowHardTerminate, "ITaskSettings.get_AllowHardTerminate");
    v.multipleInstances = Number<TASK_INSTANCES_POLICY>(settings, &ITaskSettings::get_MultipleInstances,
                                                        "ITaskSettings.get_MultipleInstances");
    v.hidden = Flag(settings, &ITaskSettings::get_Hidden, "ITaskSettings.get_Hidden");
    v.compatibility =
        Number<TASK_COMPATIBILITY>(settings, &ITaskSettings::get_Compatibility, "ITaskSettings.get_Compatibility");
  }

 private:
  ComPtr<IRegistrationInfo> Registration() {
    ComPtr<IRegistrationInfo> info;
    Check(d_->get_RegistrationInfo(info.Put()), "ITaskDefinition.get_RegistrationInfo");
    return Need(std::move(info), "ITaskDefinition.get_RegistrationInfo");
  }
  ComPtr<IPrincipal> Principal() {
    ComPtr<IPrincipal> principal;
    Check(d_->get_Principal(principal.Put()), "ITaskDefinition.get_Principal");
    return Need(std::move(principal), "ITaskDefinition.get_Principal");
  }
  ComPtr<ITriggerCollection> Triggers() {
    ComPtr<ITriggerCollection> triggers;
    Check(d_->get_Triggers(triggers.Put()), "ITaskDefinition.get_Triggers");
    return Need(std::move(triggers), "ITaskDefinition.get_Triggers");
  }
  ComPtr<IActionCollection> Actions() {
    ComPtr<IActionCollection> actions;
    Check(d_->get_Actions(actions.Put()), "ITaskDefinition.get_Actions");
    return Need(std::move(actions), "ITaskDefinition.get_Actions");
  }

  ComPtr<::ITaskDefinition> d_;
};

class ComRegisteredTask : public ::bootmark::IRegisteredTask {
 public:
  explicit ComRegisteredTask(ComPtr<::IRegisteredTask> task) : t_(std::move(task)) {}

  std::string Name() override { return Text(t_.Get(), &::IRegisteredTask::get_Name, "IRegisteredTask.get_Name"); }
  std::string Path() override { return Text(t_.Get(), &::IRegisteredTask::get_Path, "IRegisteredTask.get_Path"); }
  bool Enabled() override { return Flag(t_.Get(), &::IRegisteredTask::get_Enabled, "IRegisteredTask.get_Enabled"); }
  std::unique_ptr<::bootmark::ITaskDefinition> Definition() override {
    ComPtr<::ITaskDefinition> definition;
    Check(t_->get_Definition(definition.Put()), "IRegisteredTask.get_Definition");
    return std::make_unique<ComDefinition>(Need(std::move(definition), "IRegisteredTask.get_Definition"));
  }

 private:
  ComPtr<::IRegisteredTask> t_;
};

class ComFolder : public ::bootmark::ITaskFolder {
 public:
  // The folder keeps the service connection it came from.
  ComFolder(std::shared_ptr<ComPtr<ITaskService>> service, ComPtr<::ITaskFolder> folder)
      : service_(std::move(service)), f_(std::move(folder)) {}

  std::string Path() override { return Text(f_.Get(), &::ITaskFolder::get_Path, "ITaskFolder.get_Path"); }
  std::int32_t TaskCount() override {
    return Number<long>(Tasks().Get(), &IRegisteredTaskCollection::get_Count, "IRegisteredTaskCollection.get_Count");
  }
  std::unique_ptr<::bootmark::IRegisteredTask> Task(std::int32_t index) override {
    ComPtr<::IRegisteredTask> task;
    Check(Tasks()->get_Item(IndexVariant(index), task.Put()), "IRegisteredTaskCollection.get_Item");
    return std::make_unique<ComRegisteredTask>(Need(std::move(task), "IRegisteredTaskCollection.get_Item"));
  }
  std::int32_t FolderCount() override {
    return Number<long>(Folders().Get(), &ITaskFolderCollection::get_Count, "ITaskFolderCollection.get_Count");
  }
  std::unique_ptr<::bootmark::ITaskFolder> Folder(std::int32_t index) override {
    ComPtr<::ITaskFolder> folder;
    Check(Folders()->get_Item(IndexVariant(index), folder.Put()), "ITaskFolderCollection.get_Item");
    return std::make_unique<ComFolder>(service_, Need(std::move(folder), "ITaskFolderCollection.get_Item"));
  }

 private:
  ComPtr<IRegisteredTaskCollection>& Tasks() {
    if (!tasks_) {
      Check(f_->GetTasks(TASK_ENUM_HIDDEN, tasks_.Put()), "ITaskFolder.GetTasks");
      Require(tasks_, "ITaskFolder.GetTasks");
    }
    return tasks_;
  }
  ComPtr<ITaskFolderCollection>& Folders() {
    if (!folders_) {
      Check(f_->GetFolders(0, folders_.Put()), "ITaskFolder.GetFolders");
      Require(folders_, "ITaskFolder.GetFolders");
    }
    return folders_;
  }

  std::shared_ptr<ComPtr<ITaskService>> service_;
  ComPtr<::ITaskFolder> f_;
  ComPtr<IRegisteredTaskCollection> tasks_;
  ComPtr<ITaskFolderCollection> folders_;
};

std::shared_ptr<ComPtr<ITaskService>> ConnectService() {
  auto service = std::make_shared<ComPtr<ITaskService>>();
  const HRESULT created = ::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                             reinterpret_cast<void**>(service->Put()));
  if (FAILED(created)) {
    char text[48];
    std::snprintf(text, sizeof text, "CoCreateInstance : %08lX", static_cast<unsigned long>(created));
    throw TaskServiceUnavailable(text, static_cast<std::uint32_t>(created));
  }
  VARIANT empty;
  ::VariantInit(&empty);
  Check((*service)->Connect(empty, empty, empty, empty), "ITaskService.Connect");
  return service;
}

}  // namespace

std::unique_ptr<::bootmark::ITaskFolder> Win32TaskService::OpenFolder(std::string_view path) {
  std::shared_ptr<ComPtr<ITaskService>> service = ConnectService();
  ComPtr<::ITaskFolder> folder;
  const UniqueBstr folderPath = MakeBstr(path);
  if (FAILED((*service)->GetFolder(folderPath.Get(), folder.Put())) || !folder) return nullptr;
  return std::make_unique<ComFolder>(std::move(service), std::move(folder));
}

std::unique_ptr<::bootmark::ITaskFolder> Win32TaskService::CreateFolder(std::string_view name) {
  std::shared_ptr<ComPtr<ITaskService>> service = ConnectService();
  ComPtr<::ITaskFolder> root;
  const UniqueBstr rootPath = MakeBstr("\\");
  if (FAILED((*service)->GetFolder(rootPath.Get(), root.Put())) || !root) return nullptr;
  VARIANT noSecurity;
  ::VariantInit(&noSecurity);
  ComPtr<::ITaskFolder> folder;
  const UniqueBstr folderName = MakeBstr(name);
  if (FAILED(root->CreateFolder(folderName.Get(), noSecurity, folder.Put())) || !folder) return nullptr;
  return std::make_unique<ComFolder>(std::move(service), std::move(folder));
}

}  // namespace bootmark::win32

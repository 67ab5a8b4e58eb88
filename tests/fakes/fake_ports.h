#pragma once
// Small fakes of the platform ports, written from what the program expects of Windows.
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace bootmark::testing {

// The value a fake holds under `key`, if any.
template <typename Map>
std::optional<typename Map::mapped_type> Lookup(const Map& map, const typename Map::key_type& key) {
  const auto found = map.find(key);
  if (found == map.end()) return std::nullopt;
  return found->second;
}

class FakeDebugOutput : public IDebugOutput {
 public:
  void Write(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

class FakeClock : public IClock {
 public:
  std::uint32_t TickCount() override { return tickCount; }
  DateTime Now() override { return now; }
  DateTime UtcNow() override { return utcNow; }
  void Sleep(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    if (onSleep) onSleep();
  }

  std::uint32_t tickCount = 123456;
  DateTime now = 45000.5;
  DateTime utcNow = 45000.25;
  std::vector<std::uint32_t> sleeps;
  std::function<void()> onSleep;
};

class FakeEnvironment : public IEnvironment {
 public:
  std::optional<std::string> GetVariable(std::string_view name) override;
  // As Windows: a %NAME% of an undefined variable stays as it stands.
  std::optional<std::string> ExpandVariables(std::string_view text) override;
  std::string CommandLine() override { return commandLine; }
  std::string ExecutablePath() override { return executablePath; }

  std::map<std::string, std::string> variables;
  bool expansionFails = false;
  std::string commandLine = "\"C:\\Program Files\\Tarvo\\Kestrune\\Bootmark.exe\"";
  std::string executablePath = "C:\\Program Files\\Tarvo\\Kestrune\\Bootmark.exe";
};

class FakeShell : public IShell {
 public:
  std::string GetSpecialFolderPath(int csidl) override { return Lookup(folders, csidl).value_or(""); }
  SelectInFolderResult OpenFolderAndSelectItem(std::string_view path) override {
    selectedItems.emplace_back(path);
    return selectResult;
  }
  std::intptr_t ShellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                             std::string_view parameters, std::string_view directory, int showCommand) override {
    executed.push_back({owner, std::string(verb), std::string(file), std::string(parameters),
                        std::string(directory), showCommand});
    return executeResult;
  }
  std::optional<ShellLinkTarget> ReadShellLink(std::string_view linkPath) override {
    return Lookup(links, std::string(linkPath));
  }
  std::optional<ShellLinkFields> ReadShellLinkFields(std::string_view linkPath) override {
    return Lookup(linkFields, std::string(linkPath));
  }
  std::optional<std::string> LoadIndirectString(std::string_view source) override {
    return Lookup(indirectStrings, std::string(source));
  }

  std::map<int, std::string> folders{
      {csidl::kAppData, "C:\\Users\\Ann\\AppData\\Roaming"},
      {csidl::kCommonAppData, "C:\\ProgramData"},
      {csidl::kProfile, "C:\\Users\\Ann"},
  };

  struct Execution {
    WindowHandle owner;
    std::string verb, file, parameters, directory;
    int showCommand;
  };
  SelectInFolderResult selectResult = SelectInFolderResult::kOpened;
  std::vector<std::string> selectedItems;
  std::intptr_t executeResult = 42;
  std::vector<Execution> executed;
  // Readable shell link files by path (exact spelling); others cannot be loaded.
  std::map<std::string, ShellLinkTarget> links;
  // The same for the five fields of the startup inventory.
  std::map<std::string, ShellLinkFields> linkFields;
  // Resolvable indirect strings by their exact text.
  std::map<std::string, std::string> indirectStrings;
};

// TerminateSelf cannot end a test process: it throws this instead.
struct ProcessTerminated : std::runtime_error {
  explicit ProcessTerminated(std::uint32_t code) : std::runtime_error("terminated"), exitCode(code) {}
  std::uint32_t exitCode;
};

class FakeProcesses : public IProcesses {
 public:
  std::unique_ptr<INamedMutex> CreateOwnedMutex(std::string_view name) override;
  [[noreturn]] void TerminateSelf(std::uint32_t exitCode) override { throw ProcessTerminated(exitCode); }

  // Mutexes held by other (pretend) processes and by this one.
  std::set<std::string> existingMutexes;
  std::vector<std::string> createdMutexes;

  // Starting programs: every command line is recorded with its wait.
  StartedProcess StartProcess(std::string_view commandLine, std::uint32_t waitMilliseconds) override {
    started.push_back({std::string(commandLine), waitMilliseconds});
    return startResult;
  }
  struct Start {
    std::string commandLine;
    std::uint32_t waitMilliseconds;
  };
  StartedProcess startResult{true, std::nullopt};
  std::vector<Start> started;

  // The running processes with their sessions; a token opens unless
  // `tokenFailures` names the process.
  struct RunningProcess {
    std::uint32_t processId;
    std::string exeFile;
    std::uint32_t sessionId;
  };
  std::uint32_t ActiveConsoleSessionId() override { return 1; }
  std::vector<ProcessEntry> ProcessSnapshot() override {
    std::vector<ProcessEntry> entries;
    for (const RunningProcess& process : running) entries.push_back({process.processId, process.exeFile});
    return entries;
  }
  std::optional<std::uint32_t> ProcessSessionId(std::uint32_t processId) override {
    for (const RunningProcess& process : running) {
      if (process.processId == processId) return process.sessionId;
    }
    return std::nullopt;
  }
  std::optional<std::string> ProcessUserSid(std::uint32_t processId) override { return Lookup(userSids, processId); }
  std::map<std::uint32_t, std::string> userSids;
  struct FakeToken : IUserToken {
    explicit FakeToken(std::uint32_t id) : processId(id) {}
    std::uint32_t processId;
  };
  std::unique_ptr<IUserToken> OpenProcessUserToken(std::uint32_t processId, TokenFailure& failure) override {
    failure = Lookup(tokenFailures, processId).value_or(TokenFailure::kNone);
    if (failure != TokenFailure::kNone) return nullptr;
    return std::make_unique<FakeToken>(processId);
  }
  bool StartProcessAsUser(IUserToken& token, std::string_view commandLine) override {
    startedAsUser.emplace_back(static_cast<FakeToken&>(token).processId, std::string(commandLine));
    return startAsUserSucceeds;
  }
  std::vector<RunningProcess> running;
  std::map<std::uint32_t, TokenFailure> tokenFailures;
  bool startAsUserSucceeds = true;
  // (process whose token was used, command line)
  std::vector<std::pair<std::uint32_t, std::string>> startedAsUser;

  // Library functions by "<library path>|<function>"; a missing one gives nullopt.
  std::optional<std::int32_t> CallLibraryFunction(std::string_view libraryPath, std::string_view function,
                                                  std::int32_t argument) override {
    const std::string name = std::string(libraryPath) + "|" + std::string(function);
    libraryCalls.push_back(name + "(" + std::to_string(argument) + ")");
    return Lookup(libraryFunctions, name);
  }
  std::map<std::string, std::int32_t> libraryFunctions;
  std::vector<std::string> libraryCalls;
};

struct FakeWindow {
  std::string className;
  std::string title;
  Rect rect;
};

class FakeDesktop : public IDesktop {
 public:
  WindowHandle ForegroundWindow() override { return foreground; }
  WindowHandle DesktopWindow() override { return kDesktopHandle; }
  std::optional<Rect> WindowRect(WindowHandle window) override;
  std::string ClassName(WindowHandle window) override;
  Size PrimaryScreenSize() override { return screen; }
  WindowHandle FindTopWindow(std::string_view className, std::string_view title) override;
  void SendCopyDataText(WindowHandle window, std::string_view text) override {
    copyDataSent.emplace_back(window, std::string(text));
  }
  bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) override {
    posted.push_back({window, message, wParam, lParam});
    return true;
  }
  struct PostedMessage {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
  };
  std::vector<PostedMessage> posted;
  void ProcessMessages() override {
    ++messageRuns;
    if (onProcessMessages) onProcessMessages();
  }

  // Adds a top-level window and returns its handle.
  WindowHandle AddWindow(FakeWindow window);

  static constexpr WindowHandle kDesktopHandle = 0x10010;
  WindowHandle foreground = kNoWindow;
  Size screen{1920, 1080};
  std::map<WindowHandle, FakeWindow> windows;
  std::vector<std::pair<WindowHandle, std::string>> copyDataSent;
  int findCalls = 0;
  int messageRuns = 0;
  std::function<void()> onProcessMessages;

 private:
  WindowHandle nextHandle_ = 0x20000;
};

// The suite's data-exchange library: records every call and answers with `reply`
// (nullopt: the library refused, or is missing).
class FakeSuiteExchange : public ISuiteExchange {
 public:
  struct Call {
    std::string libraryPath, target, data;
  };
  std::optional<std::string> SendData(std::string_view libraryPath, std::string_view target,
                                      std::string_view data) override {
    calls.push_back({std::string(libraryPath), std::string(target), std::string(data)});
    return reply;
  }

  std::optional<std::string> reply;
  std::vector<Call> calls;
};

}  // namespace bootmark::testing

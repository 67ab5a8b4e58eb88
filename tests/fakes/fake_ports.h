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
  std::string GetSpecialFolderPath(int csidl) override {
    const auto found = folders.find(csidl);
    return found == folders.end() ? std::string() : found->second;
  }
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
    const auto found = links.find(std::string(linkPath));
    if (found == links.end()) return std::nullopt;
    return found->second;
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

// System information on a real system: version resources of real executables,
// special folders and their fall-backs, the 64-bit Windows checks, the version
// in the process environment block, DPI awareness, the registry and the shell.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/path.h"
#include "base/text.h"
#include "common/file_version.h"
#include "common/system_info.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_display.h"
#include "platform/win32/win32_operating_system.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_version_resources.h"
#include "platform/win32/win32_wow64.h"
#include "scratch_folder.h"
#include "ui/large_screen.h"

namespace bootmark::win32 {
namespace {

std::string OwnPath() {
  wchar_t path[MAX_PATH + 1] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Narrow(std::wstring_view(path));
}

// The real platform with some ports replaced.
struct PlatformWith {
  explicit PlatformWith(const Platform& real, IShell* shell = nullptr, IDebugOutput* debug = nullptr)
      : platform{real.files,    real.profile,   real.environment, real.clock,
                 debug != nullptr ? *debug : real.debug,
                 shell != nullptr ? *shell : real.shell,
                 real.processes, real.desktop,  real.system,      real.wow64,
                 real.display,   real.registry, real.versions,    real.services,
                 real.tasks,     real.accounts, real.signer, real.suiteExchange, real.http} {}
  Platform platform;
};

// --- Version information ------------------------------------------------------------

TEST(Win32FileVersion, BootmarkExeGivesItsResourceStrings) {
  Win32VersionResources versions;
  const std::string exe = ExtractFilePath(OwnPath()) + "Bootmark.exe";
  const std::map<int, std::string> expected{{1, "Tarvo"},  {4, "Bootmark"},     {7, "Bootmark.exe"},
                                            {8, "Kestrune"}, {0, ""},           {6, ""},
                                            {10, ""},       {11, ""}};
  for (const auto& [index, text] : expected) {
    EXPECT_EQ(GetFileVersionField(versions, exe, index, "none"), text) << index;
  }
  // Its string versions are written from the same numbers as the numeric one.
  const std::string fileVersion = GetFileVersionField(versions, exe, 3, "none");
  EXPECT_EQ(GetFileVersionFieldNumeric(versions, exe, 3, "none"), fileVersion);
  EXPECT_EQ(GetFileVersionField(versions, exe, 9, "none"), fileVersion);
  EXPECT_EQ(std::count(fileVersion.begin(), fileVersion.end(), '.'), 3) << fileVersion;
}

TEST(Win32FileVersion, MissingTranslationTableFallsBackToTheFirstTable) {
  Win32VersionResources versions;
  const std::string exe = OwnPath();
  EXPECT_EQ(GetFileVersionField(versions, exe, 1, "none"), "Tarvo");
  EXPECT_EQ(GetFileVersionField(versions, exe, 2, "none"), "Bootmark port tests \u00E9t\u00E9");
  EXPECT_EQ(GetFileVersionField(versions, exe, 3, "none"), "7.6 port test build");
  EXPECT_EQ(GetFileVersionFieldNumeric(versions, exe, 3, "none"), "7.6.5.4");
  EXPECT_EQ(GetFileVersionFieldNumeric(versions, exe, 1, "none"), "Tarvo");
  EXPECT_EQ(GetFileVersionField(versions, exe, 10, "none"), "12");
  EXPECT_EQ(GetFileVersionField(versions, exe, 9, "none"), "");
}

TEST(Win32FileVersion, FilesWithoutVersionInformationGiveTheDefault) {
  testing::ScratchFolder folder;
  testing::WriteFileBytes(folder / "plain.txt", "no resources here");
  Win32VersionResources versions;
  for (const std::string& file : {folder / "plain.txt", folder / "missing.exe"}) {
    SCOPED_TRACE(file);
    EXPECT_FALSE(versions.ReadVersionResource(file).has_value());
    EXPECT_EQ(GetFileVersionField(versions, file, 3, "19.0.0.0"), "19.0.0.0");
    EXPECT_EQ(GetFileVersionFieldNumeric(versions, file, 3, "19.0.0.0"), "19.0.0.0");
  }
}

TEST(Win32FileVersion, SystemDllsHaveANumericVersion) {
  Win32VersionResources versions;
  Win32OperatingSystem system;
  const std::string kernel32 = system.Kernel32Path();
  const std::string version = GetFileVersionFieldNumeric(versions, kernel32, 3, "none");
  EXPECT_NE(version, "none");
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 3) << version;
}

// --- Special folders -----------------------------------------------------------------

// A shell that knows no folder, so that every fall-back runs.
class ShellWithoutFolders : public IShell {
 public:
  std::string GetSpecialFolderPath(int) override { return {}; }
  SelectInFolderResult OpenFolderAndSelectItem(std::string_view) override { return SelectInFolderResult::kFailed; }
  std::intptr_t ShellExecute(WindowHandle, std::string_view, std::string_view, std::string_view, std::string_view,
                             int) override {
    return 0;
  }
  std::optional<ShellLinkTarget> ReadShellLink(std::string_view) override { return std::nullopt; }
  std::optional<ShellLinkFields> ReadShellLinkFields(std::string_view) override { return std::nullopt; }
  std::optional<std::string> LoadIndirectString(std::string_view) override { return std::nullopt; }
};

// Removes an environment variable for one scope.
class VariableRemoved {
 public:
  explicit VariableRemoved(const std::wstring& name) : name_(name) {
    wchar_t value[32768] = {};
    const DWORD length = ::GetEnvironmentVariableW(name.c_str(), value, 32768);
    if (length > 0 && length < 32768) saved_ = std::wstring(value, length);
    ::SetEnvironmentVariableW(name.c_str(), nullptr);
  }
  ~VariableRemoved() {
    if (!saved_.empty()) ::SetEnvironmentVariableW(name_.c_str(), saved_.c_str());
  }

 private:
  std::wstring name_;
  std::wstring saved_;
};

TEST(Win32SpecialFolders, FallBacksFindTheFoldersTheShellNames) {
  Win32Platform win32;
  const Platform& real = win32.Get();
  ShellWithoutFolders noFolders;
  PlatformWith withoutShell(real, &noFolders);
  SystemInfo shellSide(real);
  SystemInfo fallBackSide(withoutShell.platform);
  // The fixture machine is Windows 6.0 or later: the built paths are those below "\Users".
  ASSERT_GE(fallBackSide.GetWindowsMajorVersion(), 6u);

  const struct {
    int csidl;
    const wchar_t* variable;  // the one this machine's fall-back reads
  } folders[] = {{csidl::kAppData, L"APPDATA"},
                 {csidl::kLocalAppData, L"LOCALAPPDATA"},
                 {csidl::kCommonAppData, L"ProgramData"},
                 {csidl::kProgramFiles, L"ProgramFiles(x86)"},
                 {csidl::kProfile, L"USERPROFILE"},
                 {csidl::kCommonProgramFiles, L"CommonProgramFiles(x86)"}};
  for (const auto& folder : folders) {
    SCOPED_TRACE(folder.csidl);
    const std::string shellFolder = shellSide.GetSpecialFolder(kNoWindow, folder.csidl);
    ASSERT_GE(shellFolder.size(), 3u);
    EXPECT_EQ(shellFolder, real.shell.GetSpecialFolderPath(folder.csidl));
    EXPECT_NE(::GetFileAttributesW(Wide(shellFolder).c_str()), INVALID_FILE_ATTRIBUTES);
    // From the variable, then built from the system drive and the user name.
    EXPECT_TRUE(SameText(fallBackSide.GetSpecialFolder(kNoWindow, folder.csidl), shellFolder));
    const VariableRemoved removed(folder.variable);
    EXPECT_TRUE(SameText(fallBackSide.GetSpecialFolder(kNoWindow, folder.csidl), shellFolder))
        << fallBackSide.GetSpecialFolder(kNoWindow, folder.csidl) << " vs " << shellFolder;
  }
}

TEST(Win32SpecialFolders, ProgramFoldersAreThoseOfThe32BitProgram) {
  Win32Shell shell;
  Win32Platform win32;
  SystemInfo system(win32.Get());
  if (!system.IsWow64()) GTEST_SKIP() << "32-bit Windows has one program folder";
  EXPECT_TRUE(EndsWithIgnoreCase(shell.GetSpecialFolderPath(csidl::kProgramFiles), ":\\Program Files (x86)"));
  EXPECT_TRUE(EndsWithIgnoreCase(shell.GetSpecialFolderPath(csidl::kCommonProgramFiles),
                                 ":\\Program Files (x86)\\Common Files"));
}

// --- 64-bit Windows --------------------------------------------------------------------

TEST(Win32Wow64Checks, TheProgramSeesA64BitMachineAsThe32BitProgramWould) {
  Win32Platform win32;
  SystemInfo system(win32.Get());
  Win32Wow64 wow64;
  Win32OperatingSystem os;
  const std::optional<bool> raw = wow64.IsWow64Process(wow64.CurrentProcess());
  ASSERT_TRUE(raw.has_value()) << "the system has IsWow64Process";
  const bool rawAnswer = *raw;
  bool answer = !rawAnswer;
  ASSERT_TRUE(system.IsWow64Process(wow64.CurrentProcess(), answer));
  Wow64RedirectionValue oldValue = 1234;
#ifdef _WIN64
  // A 64-bit process is no WOW64 process, but stands for the 32-bit program.
  EXPECT_TRUE(wow64.ProcessIs64Bit());
  EXPECT_FALSE(rawAnswer);
  EXPECT_TRUE(system.IsWow64());
  EXPECT_TRUE(answer);
  EXPECT_EQ(os.NativeProcessorArchitecture(), processor_arch::kAmd64);
  EXPECT_TRUE(system.DisableWow64Redirection(oldValue));
  EXPECT_EQ(oldValue, 0u);
  EXPECT_TRUE(system.RevertWow64Redirection(oldValue));
#else
  EXPECT_FALSE(wow64.ProcessIs64Bit());
  EXPECT_EQ(system.IsWow64(), rawAnswer);
  EXPECT_EQ(answer, rawAnswer);
  EXPECT_EQ(system.DisableWow64Redirection(oldValue), rawAnswer);
  if (rawAnswer) {
    EXPECT_TRUE(system.RevertWow64Redirection(oldValue));
  }
  EXPECT_EQ(rawAnswer, os.NativeProcessorArchitecture() != processor_arch::kIntel);
#endif
}

// --- Windows version -------------------------------------------------------------------

TEST(Win32RealVersion, ProcessBlockHoldsTheVersionTheKernelReports) {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW kernel{};
  kernel.dwOSVersionInfoSize = sizeof kernel;
  ASSERT_EQ(rtlGetVersion(&kernel), 0);

  Win32Platform win32;
  SystemInfo system(win32.Get());
  const RealVersion real = system.GetRealVersion();
  EXPECT_EQ(real, (RealVersion{kernel.dwMajorVersion, kernel.dwMinorVersion, kernel.dwBuildNumber}));

  EXPECT_EQ(win32.Get().system.VersionEx().platformId, kPlatformWin32Nt);
}

TEST(Win32RealVersion, OneLineQueriesAnswer) {
  Win32Platform win32;
  SystemInfo system(win32.Get());
  EXPECT_FALSE(system.GetCurrentUserName().empty());
  EXPECT_TRUE(EndsWithIgnoreCase(system.GetSystemDir(), "\\system32"));
  EXPECT_TRUE(SameText(ExtractFileDir(system.GetSystemDir()), system.GetWindowsDir()));
  EXPECT_EQ(system.GetTempDir().back(), '\\');
  EXPECT_TRUE(SameText(system.GetTempDir(), win32.Get().environment.GetVariable("TEMP").value_or("") + "\\"));
  const std::string first = system.NewGuidText(), second = system.NewGuidText();
  EXPECT_EQ(first.size(), 38u);
  EXPECT_EQ(first.front(), '{');
  EXPECT_NE(first, second);
}

// --- DPI and screens -------------------------------------------------------------------

class RecordingDebugOutput : public IDebugOutput {
 public:
  void Write(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

TEST(Win32Dpi, OnTheFixtureTheProgramDeclaresItselfPerMonitorAware) {
  // The fixture: Wine counts the process as DPI aware from the start, so Windows
  // does not scale its windows and the program declares per-monitor awareness.
  Win32Platform win32;
  RecordingDebugOutput debug;
  PlatformWith recorded(win32.Get(), nullptr, &debug);
  Win32Display display;
  ASSERT_EQ(display.IsProcessDpiAware(), true);
  ASSERT_EQ(win32.Get().desktop.PrimaryScreenSize(), (Size{1280, 1024}));

  SystemInfo system(recorded.platform);
  system.SetupDpiAwareness();
  EXPECT_FALSE(system.DpiVirtualized());
  EXPECT_EQ(display.GetProcessDpiAwareness(), dpi_awareness::kPerMonitorAware);
  ASSERT_EQ(debug.lines.size(), 1u);
  EXPECT_TRUE(StartsWith(debug.lines[0], "************** Win32MinorVersion: ")) << debug.lines[0];

  // No notice window grows on a screen of 1280 pixels.
  const std::optional<Rect> workArea = display.MonitorWorkArea(Rect{100, 100, 400, 300});
  ASSERT_TRUE(workArea.has_value());
  EXPECT_GT(workArea->Width(), 0);
  EXPECT_LE(workArea->Width(), 1280);
  EXPECT_LE(workArea->Height(), 1024);
  FormGeometry form{Rect{100, 100, 400, 300}, {}};
  EXPECT_FALSE(ScaleFormForLargeScreen(win32.Get(), system, form));
}

// --- Shell -----------------------------------------------------------------------------

TEST(Win32ShellExecute, AnswersAbove32OnlyWhenItStartedSomething) {
  Win32Shell shell;
  Win32OperatingSystem os;
  testing::ScratchFolder folder;
  const std::string marker = folder / "ran.txt";
  const std::intptr_t started = shell.ShellExecute(kNoWindow, "open", os.SystemDirectory() + "\\cmd.exe",
                                                   "/c echo ran> \"" + marker + "\"", folder.Path(),
                                                   show_command::kHide);
  EXPECT_GT(started, 32);
  for (int wait = 0; wait < 100 && testing::FileBytes(marker).empty(); ++wait) ::Sleep(100);
  EXPECT_EQ(testing::FileBytes(marker), "ran\r\n");
  EXPECT_LE(shell.ShellExecute(kNoWindow, "open", folder / "missing.exe", "", "", show_command::kHide), 32);
}

}  // namespace
}  // namespace bootmark::win32

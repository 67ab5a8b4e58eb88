#include "suite/statistics.h"

#include "base/path.h"
#include "base/program_arguments.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/file_version.h"
#include "common/registry_values.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

constexpr std::string_view kProductId = "kst";
constexpr std::string_view kApplicationId = "kst19";
// The suite's own major version: the history keys run from "kst19" down to "kst1".
constexpr int kCurrentMajorVersion = 19;

constexpr std::string_view kTypeLibrary = "Quillcore.dll";
constexpr std::string_view kTypeFunction = "GetTaskTypeEx";
constexpr std::string_view kInstallIni = "Install.ini";
constexpr std::string_view kLangDat = "Lang.dat";
constexpr std::string_view kDefaultPartner = "tarvo";
constexpr std::string_view kSuiteKey = "SOFTWARE\\Tarvo\\Kestrune";
constexpr std::string_view kDefaultInsurance = "other";

// How long a start waits for the statistics program: barely at all, so that a
// notice closing right after an event neither waits nor loses it.
constexpr std::uint32_t kStartWaitMs = 1;

// A field of the statistics program's command line, parsed back exactly.
std::string Quoted(std::string_view text) { return QuoteArgument(text); }

}  // namespace

std::uint8_t MapInstallType(std::optional<std::int32_t> typeCode) {
  if (!typeCode) return kUnknownInstallType;
  switch (*typeCode) {
    case 0: return 1;
    case 1: return 0;
    case 2: return 3;
    case 3:
    case 4: return 2;
    case 5: return 4;
    default: return *typeCode >= 10 && *typeCode <= 14 ? 1 : kUnknownInstallType;
  }
}

std::uint8_t ReadInstallType(const Platform& platform, std::string_view programDir) {
  // By full path only: a library of that name anywhere else is never loaded.
  const std::string library = IncludeTrailingBackslash(programDir) + std::string(kTypeLibrary);
  return MapInstallType(platform.processes.CallLibraryFunction(library, kTypeFunction, 0));
}

std::int32_t ReadInstallHistoryCode(const Platform& platform, std::string_view installIni) {
  if (!platform.files.FileExists(installIni)) return 0;
  bool currentInstalled = false, currentUninstalled = false, olderInstalled = false, olderUninstalled = false;
  const auto isSet = [&](std::string_view section, const std::string& key) {
    return ini_format::ParseInteger(platform.profile.ReadString(installIni, section, key, "0"), 0) == 1;
  };
  for (int version = kCurrentMajorVersion; version >= 1; --version) {
    const std::string key = std::string(kProductId) + std::to_string(version);
    const bool installed = isSet("install", key);
    const bool uninstalled = isSet("Uninstall", key);
    if (version == kCurrentMajorVersion) {
      currentInstalled = installed;
      currentUninstalled = uninstalled;
    } else {
      olderInstalled = olderInstalled || installed;
      olderUninstalled = olderUninstalled || uninstalled;
    }
  }
  if (currentInstalled && !olderInstalled && !currentUninstalled && !olderUninstalled) return 0;
  if (currentInstalled && currentUninstalled && !olderInstalled && !olderUninstalled) return 1;
  if (olderInstalled) return 2;
  return 0;
}

std::string ReadPartnerName(const Platform& platform, std::string_view langDat) {
  if (!platform.files.FileExists(langDat)) return {};
  const std::string partner(Trim(platform.profile.ReadString(langDat, "CusLan", "pr", "")));
  return partner.empty() ? std::string(kDefaultPartner) : partner;
}

std::string ReadInsuranceChannel(const Platform& platform) {
  std::string channel;
  if (const auto key = platform.registry.OpenKey(RegistryRoot::LocalMachine, kSuiteKey, registry_access::kRead,
                                                 RegistryView::Default)) {
    channel = std::string(Trim(ReadRegistryString(*key, "insur").value_or("")));
  }
  return channel.empty() ? std::string(kDefaultInsurance) : channel;
}

std::string GetSuiteVersion(const Platform& platform, std::string_view folder) {
  const std::string dir = folder.empty() ? ProgramDir(platform.environment) : IncludeTrailingBackslash(folder);
  return GetFileVersionField(platform.versions, dir + "KST.EXE", 3, kDefaultSuiteVersion);
}

bool IsValidStatParams(const StatParams& params) { return params.type < kUnknownInstallType && params.usr != -1; }

void StatInit(const Platform& platform, StatState& state, std::string_view programName) {
  const std::string programDir = ProgramDir(platform.environment);
  const std::string program = programName.find(":\\") != std::string_view::npos
                                  ? std::string(programName)
                                  : programDir + std::string(programName);
  state.programPath = platform.files.FileExists(program) ? program : std::string();

  StatParams& params = state.params;
  params.pd = kProductId;
  params.app = kApplicationId;
  params.CachePath.clear();
  params.url = kStatisticsInsertUrl;
  params.ver = GetSuiteVersion(platform, programDir);
  params.pr = ReadPartnerName(platform, programDir + std::string(kLangDat));
  params.type = ReadInstallType(platform, programDir);
  params.usr = ReadInstallHistoryCode(platform, GetMakerCommonDataDir(platform.shell) + std::string(kInstallIni));
  params.insur = ReadInsuranceChannel(platform);
  params.extparam.clear();

  state.appId = IsValidStatParams(params) ? params.app : std::string();
  state.initialised = true;
}

std::string BuildStatCommandLine(const StatState& state, std::string_view eventId, std::string_view extraParam,
                                 bool postNow) {
  const StatParams& params = state.params;
  std::string line = Quoted(state.programPath) + " /statcom /stflag " + std::string(eventId) + " /appid " +
                     Quoted(state.appId) + " /pd " + Quoted(params.pd) + " /url " + Quoted(params.url) +
                     " /user " + std::to_string(params.usr) + " /insur " + Quoted(params.insur) + " /type " +
                     std::to_string(params.type) + " /pr " + Quoted(params.pr) + " /ver " + Quoted(params.ver);
  if (!extraParam.empty() || !params.extparam.empty()) {
    line += " /ExtParam " + Quoted(params.extparam + "&" + std::string(extraParam));
  }
  if (postNow) line += " /postnow";
  if (!params.CachePath.empty()) line += " /cachepath " + Quoted(params.CachePath);
  return line;
}

int StatSend(const Platform& platform, const StatState& state, std::string_view eventId, std::string_view extraParam,
             bool postNow, bool waitForExit) {
  if (!state.initialised) return stat_result::kNotInitialised;
  if (state.programPath.empty()) return stat_result::kNoProgram;
  const StartedProcess started = platform.processes.StartProcess(
      BuildStatCommandLine(state, eventId, extraParam, postNow), waitForExit ? kWaitForever : kStartWaitMs);
  if (waitForExit && started.exitCode) return static_cast<int>(*started.exitCode);
  return stat_result::kSent;
}

}  // namespace bootmark

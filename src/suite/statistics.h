#pragma once
// Usage statistics: each event is handed to the suite's statistics program
// "Tallyhop3.exe", started with a command line naming the event and describing
// the installation. This program never talks to the statistics service itself
// and never waits for the statistics program.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace bootmark {

inline constexpr std::string_view kStatisticsProgram = "Tallyhop3.exe";
// The statistics service's insert address (see docs/CONFIGURATION.md).
inline constexpr std::string_view kStatisticsInsertUrl = "https://stats.tarvo.example/usage_v2.php?action=insert";
// The suite version reported when "KST.EXE" has no readable version.
inline constexpr std::string_view kDefaultSuiteVersion = "19.0.0.0";
// The installation type when it cannot be told; a record with it is not valid.
inline constexpr std::uint8_t kUnknownInstallType = 255;

// What every event says about the installation.
struct StatParams {
  std::string pd;
  std::string app;
  std::string CachePath;
  std::string url;
  std::string ver;
  std::string pr;
  std::uint8_t type = kUnknownInstallType;
  std::int32_t usr = 0;
  std::string insur;
  std::string extparam;
};

// The process-wide statistics state, set up once by StatInit.
struct StatState {
  // The statistics program; empty when it does not exist.
  std::string programPath;
  bool initialised = false;
  StatParams params;
  // params.app when the record is valid, else empty.
  std::string appId;
};

// Result codes of StatSend.
namespace stat_result {
constexpr int kSent = 0;
constexpr int kNotInitialised = -1;
constexpr int kNoProgram = -24;
}  // namespace stat_result

// Sets up the state for the statistics program `programName` (a name containing
// ":\" is a full path, any other is looked for in the program's folder) and fills
// the parameter record.
void StatInit(const Platform& platform, StatState& state, std::string_view programName);

// Starts the statistics program for one event (see stat_result). `waitForExit`
// waits until it ends and returns its exit code instead.
int StatSend(const Platform& platform, const StatState& state, std::string_view eventId,
             std::string_view extraParam = {}, bool postNow = false, bool waitForExit = false);

// The statistics program's command line for one event.
std::string BuildStatCommandLine(const StatState& state, std::string_view eventId, std::string_view extraParam,
                                 bool postNow);

// A record is valid when the installation type is known and the history code is not -1.
bool IsValidStatParams(const StatParams& params);

// The installation type of the suite library's type code (nullopt: the library
// or its function is missing).
std::uint8_t MapInstallType(std::optional<std::int32_t> typeCode);
// The installation type as the suite library "Quillcore.dll" in `programDir` tells it.
std::uint8_t ReadInstallType(const Platform& platform, std::string_view programDir);

// The install history code from the maker's "Install.ini" (`installIni`):
// 0 only this version installed (or nothing known), 1 this version installed and
// uninstalled before, 2 an older version installed.
std::int32_t ReadInstallHistoryCode(const Platform& platform, std::string_view installIni);

// The partner name "pr" of "Lang.dat" (`langDat`): its [CusLan] value trimmed,
// "tarvo" when the file exists without one, empty without the file.
std::string ReadPartnerName(const Platform& platform, std::string_view langDat);

// The insurance channel: registry value "insur" of HKLM "SOFTWARE\Tarvo\Kestrune",
// trimmed; "other" when missing or empty.
std::string ReadInsuranceChannel(const Platform& platform);

// The file version of "KST.EXE" in `folder` (the program's own folder when
// empty); kDefaultSuiteVersion when the file or its version is missing.
std::string GetSuiteVersion(const Platform& platform, std::string_view folder);

}  // namespace bootmark

#pragma once
// The machine, files and statistics server addresses of the disable-rate tests.
namespace bootmark::disable_rate_test {

inline constexpr const char* kAnnSid = "S-1-5-21-1004336348-1177238915-682003330-1001";
inline constexpr const char* kBobSid = "S-1-5-21-1004336348-1177238915-682003330-1002";
inline constexpr const char* kUpdateIni = "C:\\Program Files\\Tarvo\\Kestrune\\Update\\Update.ini";
inline constexpr const char* kInfoIni = "C:\\ProgramData\\Tarvo\\Kestrune\\Bootmark\\DisableItemInfo.ini";
inline constexpr const char* kCache = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\disableRate.db";
inline constexpr const char* kExe = "C:\\Tools\\upd.exe";
inline constexpr const char* kUrl = "https://stats.test/proportion.php";
inline constexpr const char* kDefaultUrl = "https://stats.tarvo.example/proportion.php";
// The identifier of "Updater" starting kExe (no version information: publisher
// "-"), kind 1: the MD5 of "1:updaterupd.exe-1".
inline constexpr const char* kUpdaterId = "3591e604c7345be89cfb0a31b30b0624";

}  // namespace bootmark::disable_rate_test

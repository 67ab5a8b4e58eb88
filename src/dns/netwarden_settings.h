#pragma once
// "netwarden.ini" in the maker's common folder: the DNS protection settings the
// suite's DNS protection and this program share, and the DNS lists for which the
// user asked the notice to remember a choice.
//
// Reading never creates the file. Writing creates it (UTF-16 LE) and its folder;
// a file that exists but cannot be read is never written over.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "platform/platform.h"

namespace bootmark {

inline constexpr std::string_view kNetwardenIniName = "netwarden.ini";
inline constexpr std::string_view kRememberAllowSection = "DNSRember_Allow";
inline constexpr std::string_view kRememberStopSection = "DNSRember_Stop";

// <all users' application data>\Tarvo\netwarden.ini
std::string NetwardenIniPath(const Platform& platform);

// [Browser Protect] as stored. The defaults of missing keys are the caller's:
// they depend on the DNS in force.
struct GuardSettings {
  std::int32_t dnsSwitch = 1;   // "DNS": the protection switch, kept as it is
  std::string protectedDNS;     // "DNSAddress": the protected list
  std::int32_t systemDnsAuto = 0;  // "SystemDnsAuto": 1 when the protected state is automatic DNS
};

// Reads [Browser Protect] with the given defaults for the two DNS keys.
GuardSettings ReadGuardSettingsFile(const Platform& platform, std::string_view defaultDNS,
                                    std::int32_t defaultSystemDnsAuto);
// Writes "DNS" as an integer and "DNSAddress" and "SystemDnsAuto" as texts.
void WriteGuardSettingsFile(const Platform& platform, std::int32_t dnsSwitch, std::string_view protectedDNS,
                            std::string_view autoText);

// [Restore] "Openkb": when not 0 the notice is suppressed. 0 without the file.
std::int32_t ReadOpenkb(const Platform& platform);

// The key of a remembered choice: the UTC time of the choice as 17 digits,
// year (4), month, day, hour, minute, second (2 each), millisecond (3).
std::string RememberedChoiceKey(const CalendarTime& utc);
// Every value of the section, in file order; empty without the file.
std::vector<std::string> ReadRememberedDNS(const Platform& platform, std::string_view section);
// Adds `dnsText` under a key made from the current UTC time and saves at once.
void RememberDNSChoice(const Platform& platform, std::string_view section, std::string_view dnsText);
// True when `dnsText` equals a value of the section without regard to case.
bool IsRememberedDNS(const Platform& platform, std::string_view section, std::string_view dnsText);

}  // namespace bootmark

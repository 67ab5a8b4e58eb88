#pragma once
// TDNSFunc: what the DNS change notice decides. Every operation reads the
// adapter afresh through a new TDNSSet and the settings from "netwarden.ini".
#include <cstdint>
#include <string>
#include <string_view>

#include "dns/netwarden_settings.h"
#include "platform/platform.h"

namespace bootmark {

// What ApplyDNSDecision did.
enum class DnsDecisionAction {
  None,                // the protected state already is the current one
  AcceptedAutomatic,   // the automatic DNS became the protected state
  AcceptedStatic,      // the current static list became the protected state
  RestoredStatic,      // the protected static list was written back
  RestoredAutomatic,   // the static list was cleared: back to automatic DNS
};

class TDNSFunc {
 public:
  TDNSFunc() = delete;

  // The DNS list in force on the main adapter (TDNSSet::GetDNS).
  static std::string GetCurrentDNS(const Platform& platform);
  // [Browser Protect] with its defaults: "DNS" 1, "DNSAddress" the list in force,
  // "SystemDnsAuto" 1 when the DNS is automatic now, else 0.
  static GuardSettings ReadGuardSettings(const Platform& platform);
  static void WriteGuardSettings(const Platform& platform, std::int32_t dnsSwitch, std::string_view protectedDNS,
                                 std::string_view autoText);

  // Allow (true) makes the current DNS the protected state; stop (false) puts the
  // protected state back on the adapter. Nothing happens when the protected
  // state already is the current one, or "SystemDnsAuto" holds another number.
  static DnsDecisionAction ApplyDNSDecision(const Platform& platform, bool allow);
};

}  // namespace bootmark

#pragma once
// The disable-rate decision for a new startup item: whether the maker's statistics
// advise to keep the item enabled (then it gets no alert), the band of its
// disable rate as a usage statistic, and the rate and advice stored for the
// alert window.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/program_arguments.h"
#include "platform/platform.h"
#include "startup/command_path.h"
#include "startup/item_keys.h"
#include "startup/task_reader.h"

namespace bootmark {

// Where the look-up is switched on and sent: "Update\Update.ini" in the program's
// folder, section "Startup".
inline constexpr std::string_view kUpdateIniName = "Update\\Update.ini";
inline constexpr std::string_view kUpdateSection = "Startup";
// The address used when "Requesturl" is not set.
inline constexpr std::string_view kDefaultRequestUrl = "https://stats.tarvo.example/proportion.php";

// The answer, the request cache and the decision's file.
inline constexpr std::size_t kMaxDisableRateAnswerBytes = 64 * 1024;
inline constexpr std::string_view kDisableRateCacheName = "Startup Manager\\disableRate.db";
inline constexpr std::string_view kDisableItemInfoName = "Bootmark\\DisableItemInfo.ini";

// The advice "keep this item enabled", and the value for no advice.
inline constexpr int kRecommendKeep = 3;
inline constexpr int kRecommendUnknown = -1;

// "OpenRequest": anything but exactly "0" switches the look-up on; a missing file
// or key is "0".
bool IsDisableRateRequestOn(IFileSystem& files, IEnvironment& environment);
// "Requesturl", kDefaultRequestUrl when not set.
std::string ReadDisableRateRequestUrl(IFileSystem& files, IEnvironment& environment);

// "RequestTimeout": the whole look-up's time limit in seconds, 1 to 3600;
// kDefaultLookupSeconds when missing or out of range. Generous, so that a slow
// server is waited for, but a server that trickles its answer cannot hold the
// run for long. In milliseconds.
inline constexpr std::int32_t kDefaultLookupSeconds = 60;
inline constexpr std::int32_t kMaxLookupSeconds = 3600;
std::uint32_t ReadDisableRateDeadlineMs(IFileSystem& files, IEnvironment& environment);

// Addresses the look-up may ask: "https://", or "http://" to this machine only
// (127.x.x.x, "localhost", "[::1]").
bool IsPermittedRequestUrl(std::string_view url);

// The request body for an item identifier: [{"id":"<identifier>"}].
std::string DisableRateRequestBody(std::string_view itemId);

struct DisableRateAnswer {
  std::string id;
  // As shown to the user, e.g. "12.5%"; empty when the answer has none.
  std::string rate;
  int recommendation = kRecommendUnknown;
};

// The server's answer: every "[" and "]" removed, then one JSON object with at
// least three fields. "prop" is taken as text, "recommendation" as text read as
// an integer (kRecommendUnknown when it is not one). Nullopt for anything else.
std::optional<DisableRateAnswer> ParseDisableRateAnswer(std::string_view response);

// Caches an answer in "Startup Manager\disableRate.db" of the suite's common data
// folder: section = its identifier, "drate" = its rate, "recommendation" = its
// advice. An answer that cannot be stored as it came (no identifier, a line break
// or other control character in the identifier or the rate) is not cached.
void StoreDisableRateAnswer(IFileSystem& files, IShell& shell, const DisableRateAnswer& answer);

// The rate text with every "%" removed, trimmed; the number it reads as (0 when
// it is not a number).
std::string DisableRateNumberText(std::string_view rate);
double DisableRateValue(std::string_view rate);

// The usage statistic of a disable rate: "228" above 0 and below 10, "229" from
// 10 below 20, "230" from 20 below 30; empty (none) otherwise.
std::string_view DisableRateStatistic(double rateValue);

using SendStatisticFn = std::function<void(std::string_view eventId)>;

// The item as the decision sees it.
struct DisableRateItem {
  std::string name;
  // The resolved path of its program.
  std::string exePath;
  int kind = 1;
};

// Asks for the item's rate and advice (waiting, with the message queue kept
// running), writes them to the debug output, sends the rate's band and stores both
// under the item's key in "Bootmark\DisableItemInfo.ini". True when the advice is
// to keep the item enabled. Does not look at "OpenRequest": the caller does.
bool DecideDisableRate(const Platform& platform, const ItemKeys& keys, const DisableRateItem& item,
                       const SendStatisticFn& sendStatistic);

// The whole decision for the item of an /AddAutoRun start (arguments 2 to 4): false
// at once, with nothing asked or written, while "OpenRequest" is "0"; else the item
// is built as the screening builds it and DecideDisableRate runs.
bool CheckDisableRate(const Platform& platform, TaskReader& tasks, TCheckPath& checkPath,
                      const LocalIdentity& identity, const ProgramArguments& arguments,
                      const SendStatisticFn& sendStatistic);

}  // namespace bootmark

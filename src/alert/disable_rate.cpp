#include "alert/disable_rate.h"

#include <algorithm>

#include "alert/disable_rate_lookup.h"
#include "alert/item_exe_path.h"
#include "alert/new_item.h"
#include "alert/new_item_builder.h"
#include "base/json.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"
#include "startup/startup_item_id.h"

namespace bootmark {
namespace {

constexpr std::size_t kMinAnswerFields = 3;

// Update.ini is the suite's file: read it without creating it when it is missing.
std::string ReadUpdateSetting(IFileSystem& files, IEnvironment& environment, std::string_view key,
                              std::string_view defaultValue) {
  TSafeIniFile update(files);
  update.LoadFromFile(ProgramDir(environment) + std::string(kUpdateIniName));
  return update.ReadString(kUpdateSection, key, defaultValue);
}

std::string RemoveBrackets(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    if (c != '[' && c != ']') result += c;
  }
  return result;
}

}  // namespace

bool IsDisableRateRequestOn(IFileSystem& files, IEnvironment& environment) {
  return ReadUpdateSetting(files, environment, "OpenRequest", "0") != "0";
}

std::string ReadDisableRateRequestUrl(IFileSystem& files, IEnvironment& environment) {
  return ReadUpdateSetting(files, environment, "Requesturl", kDefaultRequestUrl);
}

std::uint32_t ReadDisableRateDeadlineMs(IFileSystem& files, IEnvironment& environment) {
  const std::int32_t seconds =
      StrToIntDef(Trim(ReadUpdateSetting(files, environment, "RequestTimeout", "")), kDefaultLookupSeconds);
  return static_cast<std::uint32_t>(seconds >= 1 && seconds <= kMaxLookupSeconds ? seconds : kDefaultLookupSeconds) *
         1000u;
}

bool IsPermittedRequestUrl(std::string_view url) {
  // The answer decides whether an alert is shown: it comes over HTTPS, or from
  // this machine itself (a local stand-in of the statistics server).
  constexpr std::string_view kHttps = "https://", kHttp = "http://";
  if (url.size() > kHttps.size() && SameText(url.substr(0, kHttps.size()), kHttps)) return true;
  if (url.size() <= kHttp.size() || !SameText(url.substr(0, kHttp.size()), kHttp)) return false;
  std::string_view host = url.substr(kHttp.size());
  host = host.substr(0, host.find_first_of("/?#\\"));
  if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
  if (host.starts_with("[")) return host.substr(0, host.find(']') + 1) == "[::1]";
  host = host.substr(0, host.find(':'));
  if (SameText(host, "localhost")) return true;
  // 127.0.0.0/8 written as four decimal parts.
  const std::vector<std::string> parts = SplitText(host, ".");
  return parts.size() == 4 && parts[0] == "127" && std::all_of(parts.begin(), parts.end(), [](const std::string& part) {
           return !part.empty() && part.size() <= 3 &&
                  std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                  std::stoi(part) <= 255;
         });
}

std::string DisableRateRequestBody(std::string_view itemId) {
  return "[{\"id\":\"" + std::string(itemId) + "\"}]";
}

std::optional<DisableRateAnswer> ParseDisableRateAnswer(std::string_view response) {
  if (response.size() > kMaxDisableRateAnswerBytes) return std::nullopt;
  const std::optional<JsonObject> object = ParseJsonObject(RemoveBrackets(response));
  if (!object || object->fields.size() < kMinAnswerFields) return std::nullopt;
  DisableRateAnswer answer;
  if (const JsonValue* id = object->Find("id")) answer.id = id->text;
  if (const JsonValue* prop = object->Find("prop")) answer.rate = prop->text;
  if (const JsonValue* advice = object->Find("recommendation")) {
    answer.recommendation = StrToIntDef(advice->text, kRecommendUnknown);
  }
  return answer;
}

void StoreDisableRateAnswer(IFileSystem& files, IShell& shell, const DisableRateAnswer& answer) {
  const auto hasControl = [](std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; });
  };
  if (answer.id.empty() || hasControl(answer.id) || hasControl(answer.rate)) return;
  TSafeIniFile cache(files, GetSuiteCommonDataDir(shell) + std::string(kDisableRateCacheName));
  cache.WriteString(answer.id, "drate", answer.rate);
  cache.WriteInteger(answer.id, "recommendation", answer.recommendation);
  cache.UpdateFile();
}

std::string DisableRateNumberText(std::string_view rate) {
  return std::string(Trim(ReplaceAll(rate, "%", "")));
}

double DisableRateValue(std::string_view rate) {
  return TryParseFloat(DisableRateNumberText(rate)).value_or(0.0);
}

std::string_view DisableRateStatistic(double rateValue) {
  if (rateValue <= 0 || rateValue >= 30) return {};
  if (rateValue < 10) return "228";
  if (rateValue < 20) return "229";
  return "230";
}

bool DecideDisableRate(const Platform& platform, const ItemKeys& keys, const DisableRateItem& item,
                       const SendStatisticFn& sendStatistic) {
  std::string rate;
  int recommendation = kRecommendUnknown;
  GetItemDisableRate(platform, keys, item.name, item.exePath, item.kind, rate, recommendation);
  platform.debug.Write("DisableRate: " + rate);
  platform.debug.Write("Recommend: " + IntToStr(recommendation));

  const bool keep = recommendation == kRecommendKeep;
  if (keep) platform.debug.Write("6.IsRecommand :Enable ");

  platform.debug.Write("FNewItemDisRate : " + DisableRateNumberText(rate));
  const std::string_view statistic = DisableRateStatistic(DisableRateValue(rate));
  if (!statistic.empty() && sendStatistic) sendStatistic(statistic);

  TSafeIniFile info(platform.files, GetSuiteCommonDataDir(platform.shell) + std::string(kDisableItemInfoName));
  const std::string section = MakeIgnoreKey(item.name, item.exePath, item.kind);
  info.WriteString(section, "DisableRate", rate);
  info.WriteInteger(section, "Recommand", recommendation);
  info.UpdateFile();
  return keep;
}

bool CheckDisableRate(const Platform& platform, TaskReader& tasks, TCheckPath& checkPath,
                      const LocalIdentity& identity, const ProgramArguments& arguments,
                      const SendStatisticFn& sendStatistic) {
  if (!IsDisableRateRequestOn(platform.files, platform.environment)) return false;

  const NewStartupItem newItem = BuildNewStartupItem(platform, tasks, arguments);
  std::string command = newItem.FNewItemExePath;
  // A task's program text is taken without its quotes.
  if (newItem.FNewItemType == item_kind::kScheduledTask) command = ReplaceAll(command, "\"", "");
  const DisableRateItem item{newItem.FNewItemName, GetItemExePath(checkPath, command), newItem.FNewItemType};

  const ItemKeys keys(identity, TaskAccountFinder(tasks));
  return DecideDisableRate(platform, keys, item, sendStatistic);
}

}  // namespace bootmark

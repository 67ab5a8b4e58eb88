#include "startup/known_task_rules.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/text.h"
#include "base/utf16_text.h"

namespace bootmark {
namespace {

using utf16::npos;

// A time stamp in hexadecimal ("1d9a3f2b7c4e5f0") ends the text. Occurrences of
// `marker` are passed over while more than 15 characters follow them; one
// followed by 13 to 15 characters, or the first one when 12 or fewer follow, is
// where the time stamp starts, provided it is all digits and lower-case letters.
std::u16string CutTimeStamp(std::u16string text, std::u16string_view marker) {
  const std::u16string lower = utf16::LowerAscii(text);
  std::size_t at = lower.find(marker);
  if (at == npos) return text;
  bool first = true;
  while (at != npos && text.size() - at > 15) {
    at = lower.find(marker, at + 1);
    first = false;
  }
  if (at == npos) return text;
  const std::size_t following = text.size() - at;
  if (!(following >= 13 && following <= 15) && !(first && following <= 12)) return text;
  const std::u16string tail = text.substr(at);
  if (!std::all_of(tail.begin(), tail.end(), utf16::IsDigitOrLowerAscii)) return text;
  return utf16::ReplaceFirst(text, tail, u"");
}

bool IsInt32(std::u16string_view text) {
  const std::optional<std::int64_t> number = TryParseInteger(Utf16ToUtf8(text));
  return number && *number >= std::numeric_limits<std::int32_t>::min() &&
         *number <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::u16string ApplyKnownTaskRules(std::u16string text, std::u16string_view fileName, std::u16string_view company) {
  if (text.size() > 13) {
    text = CutTimeStamp(std::move(text), u"1d");
    text = CutTimeStamp(std::move(text), u"1c");
  }
  if (text.size() > 10) {
    const std::size_t space = text.rfind(u' ');
    if (space != npos && text.size() - space - 1 == 10 && IsInt32(std::u16string_view(text).substr(space + 1))) {
      text.erase(space);
    }
  }

  const auto lower = [&text] { return utf16::LowerAscii(text); };
  const auto fileIs = [fileName](std::u16string_view name) { return utf16::SameText(fileName, name); };
  // A name of one program's item that starts with `prefix` (any case) becomes it.
  const auto stem = [&](std::u16string_view file, std::u16string_view prefix) {
    if (fileIs(file) && utf16::StartsWith(lower(), prefix)) text = prefix;
  };

  if (fileIs(u"mcinst.exe") && lower().find(u"mcinstcleanup") != npos) text = u"mcinstcleanup";
  if (utf16::StartsWith(lower(), u"wpsexternal")) text = u"wpsexternal";
  stem(u"realsched.exe", u"realcreateprocessscheduledtask");
  stem(u"hprewards.exe", u"hp ar program upload");
  stem(u"default-browser-agent.exe", u"firefox default browser agent");
  if (text.size() > 13 && utf16::SameText(std::u16string_view(text).substr(text.size() - 13), u"._service_run") &&
      (fileIs(u"msedge.exe") || fileIs(u"chrome.exe"))) {
    text = u"._service_run";
  }
  stem(u"hpwarrantychecker.exe", u"warrantychecker");
  if (fileIs(u"radiorecorderlauncher.exe") && utf16::SameText(company, u"radiorecorderlauncher")) {
    text = u"radiorecorderlauncher";
  }
  stem(u"update_notifier.exe", u"vivaldiupdatecheck");
  return text;
}

}  // namespace bootmark

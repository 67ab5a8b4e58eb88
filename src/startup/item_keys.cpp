#include "startup/item_keys.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "base/text.h"
#include "base/utf16_text.h"
#include "startup/known_task_rules.h"

namespace bootmark {
namespace {

using utf16::npos;

bool IsLetterDigitOrDash(char16_t unit) { return utf16::IsAsciiLetterOrDigit(unit) || unit == u'-'; }

// Every entry that occurs in the text (any case), longest entries first as listed.
void ReplaceListed(std::u16string& text, const std::vector<std::string>& entries, std::u16string_view tag) {
  for (const std::string& entry : entries) {
    const std::u16string units = Utf8ToUtf16(entry);
    if (!units.empty() && utf16::ContainsIgnoreCase(text, units)) {
      text = utf16::ReplaceAllIgnoreCase(text, units, tag);
    }
  }
}

void ReplaceText(std::u16string& text, std::string_view what, std::u16string_view tag) {
  if (!what.empty()) text = utf16::ReplaceAllIgnoreCase(text, Utf8ToUtf16(what), tag);
}

std::vector<std::u16string> SplitAtDashes(std::u16string_view text) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (std::size_t dash = text.find(u'-'); dash != npos; dash = text.find(u'-', start)) {
    parts.emplace_back(text.substr(start, dash - start));
    start = dash + 1;
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

// A GUID written in the name, braced or bare, found among the "-" separated
// parts: 8 or more characters, three times exactly 4, then 12 or more.
void ReplaceGuids(std::u16string& text, std::u16string_view tag) {
  if (text.size() < 36 || text.find(u'-') == npos) return;
  const std::vector<std::u16string> parts = SplitAtDashes(text);
  // A GUID replaced once is gone from the text; its repeats need no second pass.
  std::set<std::u16string> replaced;
  for (std::size_t i = 0; i + 5 <= parts.size(); ++i) {
    if (parts[i].size() < 8 || parts[i + 1].size() != 4 || parts[i + 2].size() != 4 || parts[i + 3].size() != 4 ||
        parts[i + 4].size() < 12) {
      continue;
    }
    const std::u16string guid = parts[i].substr(parts[i].size() - 8) + u"-" + parts[i + 1] + u"-" + parts[i + 2] +
                                u"-" + parts[i + 3] + u"-" + parts[i + 4].substr(0, 12);
    if (!std::all_of(guid.begin(), guid.end(), IsLetterDigitOrDash)) continue;
    if (!replaced.insert(utf16::Upper(guid)).second) continue;
    text = utf16::ReplaceAllIgnoreCase(text, u"{" + guid + u"}", tag);
    text = utf16::ReplaceAllIgnoreCase(text, guid, tag);
  }
}

// A short random suffix after the last "_": up to 10 digits and lower-case letters.
void ReplaceLuid(std::u16string& text) {
  const std::size_t underscore = text.rfind(u'_');
  if (underscore == npos) return;
  const std::u16string tail = text.substr(underscore + 1);
  if (tail.empty() || tail.size() > 10 || !std::all_of(tail.begin(), tail.end(), utf16::IsDigitOrLowerAscii)) {
    return;
  }
  text = utf16::ReplaceAllIgnoreCase(text, tail, u"TARVO_LUID");
}

// A 32-character hexadecimal digest that ends the name as a word of its own.
void ReplaceMd5(std::u16string& text) {
  if (text.size() < 32) return;
  const std::u16string digest = text.substr(text.size() - 32);
  if (!std::all_of(digest.begin(), digest.end(), utf16::IsAsciiLetterOrDigit)) return;
  const std::size_t first = text.find(digest);
  if (first > 0 && utf16::IsAsciiLetterOrDigit(text[first - 1])) return;
  text = utf16::ReplaceAllIgnoreCase(text, digest, u"TARVO_MD5");
}

bool IsListed(std::string_view text, const std::vector<std::string>& entries) {
  return std::any_of(entries.begin(), entries.end(), [text](const std::string& entry) { return SameText(entry, text); });
}

}  // namespace

std::string ItemKeys::MakeItemKey(std::string_view name, std::string_view fileName, std::string_view company,
                                  int itemType) const {
  const std::u16string original = Utf8ToUtf16(name);
  std::u16string text = original;
  ReplaceListed(text, identity_.UserSids, u"TARVO_SID");
  ReplaceGuids(text, u"TARVO_GUID");
  ReplaceLuid(text);
  ReplaceListed(text, identity_.UserNames, u"TARVO_USER");
  ReplaceText(text, identity_.ComputerName, u"TARVO_DEVICE");
  ReplaceText(text, identity_.RegisteredOwner, u"TARVO_OWNER");
  ReplaceMd5(text);
  text = ApplyKnownTaskRules(std::move(text), Utf8ToUtf16(fileName), Utf8ToUtf16(company));

  if (itemType == kItemTypeScheduledTask && findTask_) {
    const std::optional<TaskAccountFields> task = findTask_(name);
    if (task && !task->UserId.empty()) {
      // An account that is not a local user is a SID or a service account.
      if (!IsListed(task->UserId, identity_.UserNames)) ReplaceText(text, task->UserId, u"TARVO_SID");
      ReplaceText(text, task->Author, u"TARVO_USER");
    }
  }

  const std::string type = IntToStr(itemType);
  if (!utf16::SameText(text, original)) {
    text += u"_" + Utf8ToUtf16(ItemHash(std::string(fileName) + std::string(company) + type));
  }
  return type + ":" + Utf16ToUtf8(text);
}

std::string ItemKeys::StripItemKey(std::string_view name) const {
  std::u16string text = Utf8ToUtf16(name);
  ReplaceListed(text, identity_.UserSids, u"");
  ReplaceGuids(text, u"");
  ReplaceLuid(text);
  return Utf16ToUtf8(utf16::ReplaceAllIgnoreCase(text, u"_TARVO_LUID", u""));
}

std::string MakeFileKey(std::string_view filePath, std::string_view company) {
  if (SameText(company, "mcafee, inc.") && utf16::LowerAscii(Utf8ToUtf16(filePath)).find(u"mcinst.exe") != npos) {
    return "mcinst.exe";
  }
  const std::size_t slash = filePath.rfind('/');
  return std::string(slash == std::string_view::npos ? filePath : filePath.substr(slash + 1));
}

std::string ItemHash(std::string_view text) {
  std::uint32_t hash = 0;
  for (const char16_t unit : Utf8ToUtf16(text)) {
    hash = (hash << 4) + unit;
    if (const std::uint32_t top = hash & 0xF0000000u; top != 0) {
      hash ^= top >> 24;
      hash &= ~top;
    }
  }
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(hash));
  return digits;
}

}  // namespace bootmark

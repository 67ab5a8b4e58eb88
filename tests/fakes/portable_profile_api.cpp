#include "fakes/portable_profile_api.h"

#include "base/text.h"
#include "common/safe_ini_file.h"

namespace bootmark {

struct PortableProfileApi::Document {
  struct Line {
    std::string text;
    std::string ending;  // "\r\n", "\n", "\r", or "" for a last line without one
  };
  TextEncoding encoding = TextEncoding::Ansi;
  std::vector<Line> lines;
};

namespace {

constexpr std::string_view kNewLine = "\r\n";

// "[name]" (blanks around allowed; the name runs to the last "]").
bool IsSectionHeader(std::string_view line, std::string_view& name) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != '[') return false;
  const std::size_t close = trimmed.rfind(']');
  if (close == std::string_view::npos || close == 0) return false;
  name = Trim(trimmed.substr(1, close - 1));
  return true;
}

// "name=value" that is not a comment; both parts trimmed.
bool IsKeyLine(std::string_view line, std::string_view& name, std::string_view& value) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return false;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return false;
  name = Trim(trimmed.substr(0, equals));
  value = Trim(trimmed.substr(equals + 1));
  return true;
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

template <typename Lines>
std::size_t FindSectionLine(const Lines& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name;
    if (IsSectionHeader(lines[i].text, name) && SameText(name, section)) return i;
  }
  return lines.size();
}

// End (exclusive) of the section whose header is at `header`.
template <typename Lines>
std::size_t SectionEnd(const Lines& lines, std::size_t header) {
  std::size_t i = header + 1;
  std::string_view name;
  while (i < lines.size() && !IsSectionHeader(lines[i].text, name)) ++i;
  return i;
}

template <typename Lines>
std::size_t FindKeyLine(const Lines& lines, std::size_t header, std::size_t end,
                        std::string_view key) {
  for (std::size_t i = header + 1; i < end; ++i) {
    std::string_view name, value;
    if (IsKeyLine(lines[i].text, name, value) && SameText(name, key)) return i;
  }
  return end;
}

}  // namespace

bool PortableProfileApi::Load(std::string_view file, Document& document) {
  document = Document{};
  if (!files_.FileExists(file)) return true;
  const Result<std::string> bytes = files_.ReadAll(file);
  if (!bytes) return false;
  std::string text;
  if (!DecodeFileText(files_, *bytes, text)) return false;
  document.encoding = DetectEncoding(*bytes);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    Document::Line line{text.substr(pos, end - pos), {}};
    if (end < text.size()) {
      const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      line.ending = text.substr(end, crLf ? 2 : 1);
    }
    pos = end + line.ending.size();
    document.lines.push_back(std::move(line));
  }
  return true;
}

bool PortableProfileApi::Save(std::string_view file, const Document& document) {
  std::string text;
  for (const Document::Line& line : document.lines) text.append(line.text).append(line.ending);
  std::string bytes(ByteOrderMark(document.encoding));
  switch (document.encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      AppendUtf16(bytes, text, document.encoding == TextEncoding::Utf16BE);
      break;
    case TextEncoding::Utf8:
      bytes += text;
      break;
    case TextEncoding::None:
    case TextEncoding::Ansi:
      bytes = ansi_.Encode(text);
      break;
  }
  return files_.ReplaceAll(file, bytes).ok();
}

std::string PortableProfileApi::ReadString(std::string_view file, std::string_view section,
                                           std::string_view key, std::string_view defaultValue) {
  Document document;
  if (Load(file, document)) {
    const auto& lines = document.lines;
    const std::size_t header = FindSectionLine(lines, section);
    if (header < lines.size()) {
      const std::size_t end = SectionEnd(lines, header);
      const std::size_t found = FindKeyLine(lines, header, end, key);
      if (found < end) {
        std::string_view name, value;
        IsKeyLine(lines[found].text, name, value);
        return std::string(StripQuotes(value));
      }
    }
  }
  // The system drops trailing blanks of the default.
  return std::string(TrimRight(defaultValue));
}

std::vector<std::string> PortableProfileApi::ReadKeys(std::string_view file,
                                                      std::string_view section) {
  std::vector<std::string> keys;
  Document document;
  if (!Load(file, document)) return keys;
  const auto& lines = document.lines;
  const std::size_t header = FindSectionLine(lines, section);
  if (header == lines.size()) return keys;
  const std::size_t end = SectionEnd(lines, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    std::string_view name, value;
    if (IsKeyLine(lines[i].text, name, value)) keys.emplace_back(name);
  }
  return keys;
}

std::vector<std::string> PortableProfileApi::ReadSectionNames(std::string_view file) {
  std::vector<std::string> names;
  Document document;
  if (!Load(file, document)) return names;
  for (const auto& line : document.lines) {
    std::string_view name;
    if (IsSectionHeader(line.text, name)) names.emplace_back(name);
  }
  return names;
}

bool PortableProfileApi::WriteString(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value) {
  Document document;
  // A file that cannot be read is not replaced by what little this call knows.
  if (!Load(file, document)) return false;
  auto& lines = document.lines;
  const auto endLastLine = [&lines] {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kNewLine;
  };
  const std::size_t header = FindSectionLine(lines, section);
  if (header == lines.size()) {
    endLastLine();
    if (!lines.empty() && !Trim(lines.back().text).empty()) {
      lines.push_back({"", std::string(kNewLine)});
    }
    lines.push_back({"[" + std::string(section) + "]", std::string(kNewLine)});
    lines.push_back({std::string(key) + "=" + std::string(value), std::string(kNewLine)});
    return Save(file, document);
  }
  const std::size_t end = SectionEnd(lines, header);
  const std::size_t found = FindKeyLine(lines, header, end, key);
  if (found < end) {
    // The key keeps the spelling the file has.
    std::string_view name, oldValue;
    IsKeyLine(lines[found].text, name, oldValue);
    lines[found].text = std::string(name) + "=" + std::string(value);
    return Save(file, document);
  }
  // After the section's last non-blank line, before the blank lines that
  // separate it from the next section.
  std::size_t insertAt = end;
  while (insertAt > header + 1 && Trim(lines[insertAt - 1].text).empty()) --insertAt;
  if (lines[insertAt - 1].ending.empty()) lines[insertAt - 1].ending = kNewLine;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
               {std::string(key) + "=" + std::string(value), std::string(kNewLine)});
  return Save(file, document);
}

bool PortableProfileApi::DeleteKey(std::string_view file, std::string_view section,
                                   std::string_view key) {
  Document document;
  if (!Load(file, document)) return false;
  auto& lines = document.lines;
  const std::size_t header = FindSectionLine(lines, section);
  if (header == lines.size()) return true;
  const std::size_t end = SectionEnd(lines, header);
  const std::size_t found = FindKeyLine(lines, header, end, key);
  if (found == end) return true;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(found));
  return Save(file, document);
}

bool PortableProfileApi::EraseSection(std::string_view file, std::string_view section) {
  Document document;
  if (!Load(file, document)) return false;
  auto& lines = document.lines;
  const std::size_t header = FindSectionLine(lines, section);
  if (header == lines.size()) return true;
  const std::size_t end = SectionEnd(lines, header);
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header),
              lines.begin() + static_cast<std::ptrdiff_t>(end));
  return Save(file, document);
}

void PortableProfileApi::Flush(std::string_view) {}

}  // namespace bootmark

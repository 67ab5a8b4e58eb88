#include "fakes/portable_profile_api.h"

#include "base/text.h"
#include "common/safe_ini_file.h"

namespace bootmark {

struct PortableProfileApi::Document {
  TextEncoding encoding = TextEncoding::Ansi;
  std::vector<std::string> lines;

  // Index of the line "[section]" (case ignored), or lines.size().
  std::size_t FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string_view name;
      if (IsSectionHeader(lines[i], name) && SameText(name, section)) return i;
    }
    return lines.size();
  }
  // End (exclusive) of the section whose header is at `header`.
  std::size_t SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    std::string_view name;
    while (i < lines.size() && !IsSectionHeader(lines[i], name)) ++i;
    return i;
  }
  std::size_t FindKey(std::size_t header, std::size_t end, std::string_view key) const {
    for (std::size_t i = header + 1; i < end; ++i) {
      std::string_view name, value;
      if (IsKeyLine(lines[i], name, value) && SameText(name, key)) return i;
    }
    return end;
  }

  // "[name]" (blanks around allowed; the name runs to the last "]").
  static bool IsSectionHeader(std::string_view line, std::string_view& name) {
    const std::string_view trimmed = Trim(line);
    const std::size_t close = trimmed.rfind(']');
    if (trimmed.empty() || trimmed.front() != '[' || close == std::string_view::npos || close == 0) return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
  }
  // "name=value" that is not a comment; both parts trimmed.
  static bool IsKeyLine(std::string_view line, std::string_view& name, std::string_view& value) {
    const std::string_view trimmed = Trim(line);
    const std::size_t equals = trimmed.find('=');
    if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) return false;
    name = Trim(trimmed.substr(0, equals));
    value = Trim(trimmed.substr(equals + 1));
    return true;
  }
};

bool PortableProfileApi::Load(std::string_view file, Document& document) {
  document = Document{};
  if (!files_.FileExists(file)) return true;
  const Result<std::string> bytes = files_.ReadAll(file);
  std::string text;
  if (!bytes || !DecodeFileText(files_, *bytes, text)) return false;
  document.encoding = DetectEncoding(*bytes);
  // Every line ends in CR LF when saved again.
  for (std::string& line : SplitText(ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n"), "\n")) {
    document.lines.push_back(std::move(line));
  }
  if (!document.lines.empty() && document.lines.back().empty()) document.lines.pop_back();
  return true;
}

bool PortableProfileApi::Save(std::string_view file, const Document& document) {
  std::string text;
  for (const std::string& line : document.lines) text.append(line).append("\r\n");
  std::string bytes(ByteOrderMark(document.encoding));
  if (document.encoding == TextEncoding::Utf16LE || document.encoding == TextEncoding::Utf16BE) {
    AppendUtf16(bytes, text, document.encoding == TextEncoding::Utf16BE);
  } else if (document.encoding == TextEncoding::Utf8) {
    bytes += text;
  } else {
    bytes = ansi_.Encode(text);
  }
  return files_.ReplaceAll(file, bytes).ok();
}

std::string PortableProfileApi::ReadString(std::string_view file, std::string_view section,
                                           std::string_view key, std::string_view defaultValue) {
  Document document;
  if (Load(file, document)) {
    const std::size_t header = document.FindSection(section);
    const std::size_t end = header < document.lines.size() ? document.SectionEnd(header) : header;
    const std::size_t found = header < end ? document.FindKey(header, end, key) : end;
    std::string_view name, value;
    if (found < end && Document::IsKeyLine(document.lines[found], name, value)) return std::string(value);
  }
  // The system drops trailing blanks of the default.
  return std::string(TrimRight(defaultValue));
}

std::vector<std::string> PortableProfileApi::ReadKeys(std::string_view file, std::string_view section) {
  std::vector<std::string> keys;
  Document document;
  if (!Load(file, document)) return keys;
  const std::size_t header = document.FindSection(section);
  if (header == document.lines.size()) return keys;
  for (std::size_t i = header + 1; i < document.SectionEnd(header); ++i) {
    std::string_view name, value;
    if (Document::IsKeyLine(document.lines[i], name, value)) keys.emplace_back(name);
  }
  return keys;
}

std::vector<std::string> PortableProfileApi::ReadSectionNames(std::string_view file) {
  std::vector<std::string> names;
  Document document;
  if (!Load(file, document)) return names;
  for (const std::string& line : document.lines) {
    std::string_view name;
    if (Document::IsSectionHeader(line, name)) names.emplace_back(name);
  }
  return names;
}

bool PortableProfileApi::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                     std::string_view value) {
  Document document;
  // A file that cannot be read is not replaced by what little this call knows.
  if (!Load(file, document)) return false;
  auto& lines = document.lines;
  const std::string line = std::string(key) + "=" + std::string(value);
  const std::size_t header = document.FindSection(section);
  if (header == lines.size()) {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(line);
    return Save(file, document);
  }
  const std::size_t end = document.SectionEnd(header);
  const std::size_t found = document.FindKey(header, end, key);
  if (found < end) {
    lines[found] = line;
  } else {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), line);
  }
  return Save(file, document);
}

bool PortableProfileApi::DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  Document document;
  if (!Load(file, document)) return false;
  const std::size_t header = document.FindSection(section);
  if (header == document.lines.size()) return true;
  const std::size_t end = document.SectionEnd(header);
  const std::size_t found = document.FindKey(header, end, key);
  if (found == end) return true;
  document.lines.erase(document.lines.begin() + static_cast<std::ptrdiff_t>(found));
  return Save(file, document);
}

bool PortableProfileApi::EraseSection(std::string_view file, std::string_view section) {
  Document document;
  if (!Load(file, document)) return false;
  auto& lines = document.lines;
  const std::size_t header = document.FindSection(section);
  if (header == lines.size()) return true;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header),
              lines.begin() + static_cast<std::ptrdiff_t>(document.SectionEnd(header)));
  return Save(file, document);
}

void PortableProfileApi::Flush(std::string_view) {}

}  // namespace bootmark

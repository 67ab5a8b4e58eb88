#include "fakes/portable_profile_api.h"

#include "base/text.h"
#include "common/safe_ini_file.h"

namespace bootmark {

struct PortableProfileApi::Document {
  TextEncoding encoding = TextEncoding::Ansi;
  std::vector<std::string> lines;

  // Where a section and a key of it lie (names compared without regard to case): the
  // header's line, the end of the section and the key's line. A missing section has
  // all three at lines.size(), a missing key has its line at the section's end.
  struct Place {
    std::size_t header, end, key;
    bool HasSection(const Document& document) const { return header < document.lines.size(); }
  };
  Place Locate(std::string_view section, std::string_view key = {}) const {
    std::string_view name, value;
    std::size_t header = 0;
    while (header < lines.size() && !(IsSectionHeader(lines[header], name) && SameText(name, section))) ++header;
    if (header == lines.size()) return {header, header, header};
    std::size_t end = header + 1;
    while (end < lines.size() && !IsSectionHeader(lines[end], name)) ++end;
    std::size_t found = header + 1;
    while (found < end && !(IsKeyLine(lines[found], name, value) && SameText(name, key))) ++found;
    return {header, end, found};
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
    const Document::Place place = document.Locate(section, key);
    std::string_view name, value;
    if (place.key < place.end && Document::IsKeyLine(document.lines[place.key], name, value)) {
      return std::string(value);
    }
  }
  // The system drops trailing blanks of the default.
  return std::string(TrimRight(defaultValue));
}

std::vector<std::string> PortableProfileApi::ReadKeys(std::string_view file, std::string_view section) {
  std::vector<std::string> keys;
  Document document;
  if (!Load(file, document)) return keys;
  const Document::Place place = document.Locate(section);
  for (std::size_t i = place.header + 1; i < place.end; ++i) {
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
  const Document::Place place = document.Locate(section, key);
  if (!place.HasSection(document)) {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(line);
  } else if (place.key < place.end) {
    lines[place.key] = line;
  } else {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.end), line);
  }
  return Save(file, document);
}

bool PortableProfileApi::DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  Document document;
  if (!Load(file, document)) return false;
  const Document::Place place = document.Locate(section, key);
  if (place.key == place.end) return true;
  document.lines.erase(document.lines.begin() + static_cast<std::ptrdiff_t>(place.key));
  return Save(file, document);
}

void PortableProfileApi::Flush(std::string_view) {}

}  // namespace bootmark

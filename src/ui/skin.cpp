#include "ui/skin.h"

#include <charconv>

#include "base/path.h"
#include "base/text.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

constexpr std::string_view kImageFilePrefix = "imgname=";

// The colours of the built-in skin, under the suite's colour names, so that a
// notice names its colours once and looks finished without the suite's skin.
struct NamedColour {
  std::string_view name;
  Colour colour;
};
constexpr NamedColour kBuiltInColours[] = {
    {"smallwindow_interface.cl_smallwindow_name", MakeColour(0xE8, 0xEC, 0xF2)},
    {"smallwindow_interface.cl_smallwindow_content_text", MakeColour(0xC9, 0xD1, 0xDC)},
    {"smallwindow_interface.cl_smallwindow_lefttbot_checkbox", MakeColour(0x9A, 0xA4, 0xB2)},
    {"main_interface.cl_sidemenu_find_text_normal", MakeColour(0xC9, 0xD1, 0xDC)},
    {"main_interface.cl_sidemenu_find_text_over", MakeColour(0xFF, 0xFF, 0xFF)},
    {"text_color.cl_orange_a", MakeColour(0xFF, 0x9F, 0x2E)},
    {"text_color.cl_blue_b", MakeColour(0x4D, 0xA8, 0xFF)},
    {"text_color.cl_white", MakeColour(0xFF, 0xFF, 0xFF)},
    {"text_color.cl_gray", MakeColour(0x9A, 0xA4, 0xB2)},
    {"public_element.cl_btn_blue_normal", MakeColour(0xFF, 0xFF, 0xFF)},
    {"public_element.cl_btn_blue_over", MakeColour(0xFF, 0xFF, 0xFF)},
    {"public_element.cl_btn_blue_press", MakeColour(0xDC, 0xEB, 0xFF)},
    {"public_element.cl_btn_gray_normal", MakeColour(0xD8, 0xDE, 0xE6)},
    {"public_element.cl_btn_gray_over", MakeColour(0xFF, 0xFF, 0xFF)},
    {"public_element.cl_btn_gray_press", MakeColour(0xB8, 0xC0, 0xCC)},
};

std::optional<Colour> BuiltInColour(std::string_view name) {
  for (const NamedColour& entry : kBuiltInColours) {
    if (SameText(entry.name, name)) return entry.colour;
  }
  return std::nullopt;
}

std::optional<std::uint32_t> ParseNumber(std::string_view digits, int base) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::string_view StateSuffix(ButtonState state) {
  switch (state) {
    case ButtonState::Over:
      return ".over";
    case ButtonState::Down:
      return ".down";
    case ButtonState::Disabled:
      return ".disabled";
    case ButtonState::Normal:
      break;
  }
  return "";
}

// A relative image path with "/" or "\" as separator, inside the skin folder;
// empty for absolute paths and paths that climb out of it.
std::string SkinRelativePath(std::string_view path) {
  std::string relative(Trim(path));
  for (char& c : relative) {
    if (c == '/') c = '\\';
  }
  if (relative.empty() || relative.front() == '\\' || relative.find(':') != std::string::npos ||
      relative.find("..") != std::string::npos) {
    return {};
  }
  return relative;
}

}  // namespace

std::optional<Colour> ParseColourText(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '#') {
    if (text.size() != 7) return std::nullopt;
    const std::optional<std::uint32_t> rgb = ParseNumber(text.substr(1), 16);
    if (!rgb) return std::nullopt;
    return MakeColour(static_cast<std::uint8_t>(*rgb >> 16), static_cast<std::uint8_t>(*rgb >> 8),
                      static_cast<std::uint8_t>(*rgb));
  }
  const std::optional<std::uint32_t> value =
      text.front() == '$' ? ParseNumber(text.substr(1), 16) : ParseNumber(text, 10);
  if (!value || *value > 0xFFFFFF) return std::nullopt;
  return *value;
}

std::string BuiltInImageName(std::string_view image) {
  image = Trim(image);
  if (image.size() < kImageFilePrefix.size() || !SameText(image.substr(0, kImageFilePrefix.size()), kImageFilePrefix)) {
    return std::string(image);
  }
  std::string path(image.substr(kImageFilePrefix.size()));
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  std::string name = ExtractFileName(path);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string SkinFolder(std::string_view programDir, std::string_view skinName) {
  // The name comes from the user's settings: like an image path, it may not
  // leave the skin folder.
  const std::string relative = SkinRelativePath(skinName);
  if (relative.empty()) return {};
  return IncludeTrailingBackslash(IncludeTrailingBackslash(programDir) + "skin\\" + relative);
}

Skin Skin::FromText(std::string_view iniText, std::string folder) {
  Skin skin;
  skin.present_ = true;
  skin.folder_ = IncludeTrailingBackslash(folder);
  if (iniText.starts_with("\xEF\xBB\xBF")) iniText.remove_prefix(3);
  std::string section;
  std::size_t start = 0;
  while (start <= iniText.size()) {
    std::size_t end = iniText.find('\n', start);
    if (end == std::string_view::npos) end = iniText.size();
    const std::string_view line = Trim(iniText.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = std::string(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string name(Trim(line.substr(0, equals)));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (SameText(section, "Colors")) {
      if (const std::optional<Colour> colour = ParseColourText(value)) skin.colours_[UpperCaseOrdinal(name)] = *colour;
    } else if (SameText(section, "Images")) {
      skin.images_[UpperCaseOrdinal(name)] = std::string(value);
    }
  }
  return skin;
}

Skin Skin::Load(IFileSystem& files, std::string folder) {
  if (folder.empty()) return {};
  const std::string fileName = IncludeTrailingBackslash(folder) + "skin.ini";
  const Result<std::string> bytes = files.ReadAll(fileName);
  std::string text;
  if (!bytes || !DecodeFileText(files, *bytes, text)) return {};
  return FromText(text, std::move(folder));
}

std::optional<Colour> Skin::ResolveColour(std::string_view text) const {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  if (const auto found = colours_.find(UpperCaseOrdinal(text)); found != colours_.end()) return found->second;
  if (const std::optional<Colour> builtIn = BuiltInColour(text)) return builtIn;
  return ParseColourText(text);
}

std::string Skin::ImageFile(std::string_view image, ButtonState state) const {
  image = Trim(image);
  if (!present_ || image.empty()) return {};
  if (image.size() >= kImageFilePrefix.size() && SameText(image.substr(0, kImageFilePrefix.size()), kImageFilePrefix)) {
    const std::string relative = SkinRelativePath(image.substr(kImageFilePrefix.size()));
    return relative.empty() ? std::string() : folder_ + relative;
  }
  const std::string key = UpperCaseOrdinal(image);
  auto entry = images_.find(key + UpperCaseOrdinal(StateSuffix(state)));
  if (entry == images_.end()) entry = images_.find(key);
  if (entry == images_.end()) return {};
  std::string_view value = entry->second;
  if (value.size() >= kImageFilePrefix.size() && SameText(value.substr(0, kImageFilePrefix.size()), kImageFilePrefix)) {
    value.remove_prefix(kImageFilePrefix.size());
  }
  const std::string relative = SkinRelativePath(value);
  return relative.empty() ? std::string() : folder_ + relative;
}

}  // namespace bootmark

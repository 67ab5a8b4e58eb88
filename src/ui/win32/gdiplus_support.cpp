#include "ui/win32/gdiplus_support.h"

#include "platform/win32/gdi_objects.h"
#include "platform/win32/wide.h"
#include "ui/win32/form_window.h"

namespace bootmark::win32 {
namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  const UniqueScreenDc screen = ScreenDc();
  EnumFontFamiliesExW(screen.Get(), &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

GdiPlusSession::GdiPlusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiPlusSession::~GdiPlusSession() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

std::wstring AvailableFace(const std::string& face) {
  static std::map<std::string, std::wstring> chosen;
  if (const auto known = chosen.find(face); known != chosen.end()) return known->second;
  std::wstring result = Wide(face);
  if (!FaceInstalled(result)) result = FaceInstalled(L"Tahoma") ? L"Tahoma" : L"MS Shell Dlg 2";
  chosen.emplace(face, result);
  return result;
}

const Gdiplus::Font& FontFor(const FontSpec& font) {
  using Key = std::tuple<std::string, int, bool, bool>;
  static std::map<Key, std::unique_ptr<Gdiplus::Font>> fonts;
  const Key key{font.face, font.size, font.bold, font.underline};
  auto& slot = fonts[key];
  if (!slot) {
    const INT style = (font.bold ? Gdiplus::FontStyleBold : 0) | (font.underline ? Gdiplus::FontStyleUnderline : 0);
    const Gdiplus::REAL size = static_cast<Gdiplus::REAL>(std::max(1, font.size));
    slot = std::make_unique<Gdiplus::Font>(AvailableFace(font.face).c_str(), size, style, Gdiplus::UnitPixel);
    if (slot->GetLastStatus() != Gdiplus::Ok) {
      slot = std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), size, style,
                                             Gdiplus::UnitPixel);
    }
  }
  return *slot;
}

const Gdiplus::StringFormat& TextFormat() {
  static const std::unique_ptr<Gdiplus::StringFormat> format = [] {
    auto made = std::unique_ptr<Gdiplus::StringFormat>(Gdiplus::StringFormat::GenericTypographic()->Clone());
    made->SetFormatFlags(made->GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                         Gdiplus::StringFormatFlagsNoWrap);
    return made;
  }();
  return *format;
}

Gdiplus::Bitmap* PictureFile(const std::string& path) {
  static std::map<std::string, std::unique_ptr<Gdiplus::Bitmap>> pictures;
  auto [slot, added] = pictures.try_emplace(path);
  if (added) {
    auto bitmap = std::unique_ptr<Gdiplus::Bitmap>(Gdiplus::Bitmap::FromFile(Wide(path).c_str()));
    if (bitmap && bitmap->GetLastStatus() == Gdiplus::Ok) slot->second = std::move(bitmap);
  }
  return slot->second.get();
}

Size GdiPlusTextMeasurer::Measure(const FontSpec& font, std::string_view text) const {
  const UniqueScreenDc screen = ScreenDc();
  Size size;
  {
    Gdiplus::Graphics graphics(screen.Get());
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    const std::wstring wide = Wide(text);
    Gdiplus::RectF box;
    graphics.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), &FontFor(font), Gdiplus::PointF(0, 0),
                           &TextFormat(), &box);
    const Gdiplus::REAL lineHeight = FontFor(font).GetHeight(&graphics);
    size = {static_cast<std::int32_t>(std::ceil(box.Width)),
            static_cast<std::int32_t>(std::ceil(std::max(box.Height, lineHeight)))};
  }
  return size;
}

}  // namespace bootmark::win32

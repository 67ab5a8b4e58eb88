#include "ui/win32/form_painter.h"

#include <shellapi.h>

#include <cmath>

#include "platform/win32/gdi_objects.h"
#include "platform/win32/wide.h"
#include "ui/rich_text.h"
#include "ui/win32/gdiplus_support.h"

namespace bootmark::win32 {
namespace {

using Gdiplus::Color;
using Gdiplus::Graphics;
using Gdiplus::REAL;
using Gdiplus::RectF;

// The built-in skin's palette.
constexpr Colour kText = MakeColour(0xC9, 0xD1, 0xDC);
constexpr Colour kLink = MakeColour(0xFF, 0x9F, 0x2E);
constexpr Colour kBorder = MakeColour(0x3A, 0x42, 0x4E);
constexpr Colour kTitleBar = MakeColour(0x21, 0x28, 0x31);
constexpr Colour kBlue = MakeColour(0x1F, 0x7A, 0xE0);
constexpr Colour kGrey = MakeColour(0x3A, 0x41, 0x4C);
constexpr Colour kDisabled = MakeColour(0x4A, 0x4F, 0x57);

Color Argb(Colour colour, BYTE alpha = 255) {
  return Color(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

Colour Lighter(Colour colour, int amount) {
  auto channel = [amount](int value) { return static_cast<std::uint8_t>(std::clamp(value + amount, 0, 255)); };
  return MakeColour(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

void RoundedRectangle(Gdiplus::GraphicsPath& path, const RectF& box, REAL radius) {
  const REAL d = radius * 2;
  path.AddArc(box.X, box.Y, d, d, 180, 90);
  path.AddArc(box.X + box.Width - d, box.Y, d, d, 270, 90);
  path.AddArc(box.X + box.Width - d, box.Y + box.Height - d, d, d, 0, 90);
  path.AddArc(box.X, box.Y + box.Height - d, d, d, 90, 90);
  path.CloseFigure();
}

class ControlPainter {
 public:
  ControlPainter(Graphics& graphics, const FormModel& form, const Skin& skin, const FormControl& control,
                 const RectF& box)
      : g_(graphics), form_(form), skin_(skin), control_(control), box_(box), state_(form.StateOf(control)) {}

  void Paint() {
    if (PaintSkinImage()) {
      PaintCaption();
      return;
    }
    const std::string name = BuiltInImageName(control_.image);
    if (!control_.shellIconOf.empty() && PaintShellIcon()) return;
    switch (control_.Kind()) {
      case ControlKind::CheckBox:
        PaintCheckBox();
        return;
      case ControlKind::Label:
      case ControlKind::SkinnedLabel:
      case ControlKind::HyperlinkLabel:
      case ControlKind::NoteLabel:
        PaintText(0, control_.centred);
        return;
      default:
        break;
    }
    PaintBuiltIn(name);
    PaintCaption();
  }

 private:
  Colour TextColour(Colour fallback) const {
    const std::string* name = &control_.textColour;
    if (state_ == ButtonState::Down && !control_.textColourDown.empty()) name = &control_.textColourDown;
    if ((state_ == ButtonState::Over || state_ == ButtonState::Down) && name == &control_.textColour &&
        !control_.textColourOver.empty()) {
      name = &control_.textColourOver;
    }
    if (state_ == ButtonState::Disabled) return MakeColour(0x80, 0x86, 0x90);
    return skin_.ResolveColour(*name).value_or(fallback);
  }

  bool PaintSkinImage() {
    std::string file = control_.pictureFile;
    if (file.empty()) file = skin_.ImageFile(control_.image, state_);
    if (file.empty()) return false;
    Gdiplus::Bitmap* picture = PictureFile(file);
    if (picture == nullptr) return false;
    const REAL width = static_cast<REAL>(picture->GetWidth());
    const REAL height = static_cast<REAL>(picture->GetHeight());
    const bool stretch = control_.stretch || control_.Kind() == ControlKind::SkinnedImageButton;
    if (stretch) {
      g_.DrawImage(picture, box_);
    } else {
      g_.DrawImage(picture, box_.X + (box_.Width - width) / 2, box_.Y + (box_.Height - height) / 2, width, height);
    }
    return true;
  }

  bool PaintShellIcon() {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(Wide(control_.shellIconOf).c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON) == 0 ||
        info.hIcon == nullptr) {
      return false;
    }
    const UniqueIcon icon(info.hIcon);
    const int side = static_cast<int>(std::min(box_.Width, box_.Height));
    HDC dc = g_.GetHDC();
    DrawIconEx(dc, static_cast<int>(box_.X + (box_.Width - side) / 2), static_cast<int>(box_.Y + (box_.Height - side) / 2),
               icon.Get(), side, side, 0, nullptr, DI_NORMAL);
    g_.ReleaseHDC(dc);
    return true;
  }

  // The caption laid out as the model lays it out (links highlighted), from
  // `indent` pixels in.
  void PaintText(int indent, bool centred, REAL top = -1) {
    const std::string caption = control_.Kind() == ControlKind::NoteLabel && control_.caption.empty()
                                    ? JoinLines(control_.items)
                                    : control_.caption;
    if (caption.empty()) return;
    const FontSpec font = form_.FontOf(control_);
    const std::vector<TextRun> runs = control_.Kind() == ControlKind::HyperlinkLabel
                                          ? ParseLinkText(caption)
                                          : std::vector<TextRun>{{caption, -1}};
    const int width = static_cast<int>(box_.Width) - indent;
    const TextLayout layout = LayOutText(form_.Measurer(), runs, font, LinkFontOf(font),
                                         control_.wordWrap ? width : 0, centred ? width : 0);
    const REAL y = top >= 0 ? top : box_.Y;
    const Colour plain = TextColour(kText);
    const Colour link = skin_.ResolveColour(control_.linkColour).value_or(kLink);
    const bool hovered = form_.Hovered() == &control_;
    for (const PlacedText& piece : layout.pieces) {
      FontSpec fontSpec = piece.link >= 0 ? LinkFontOf(font) : font;
      if (piece.link >= 0 && hovered && form_.HoveredLink() == piece.link) fontSpec.underline = true;
      const std::wstring text = Wide(piece.text);
      Gdiplus::SolidBrush brush(Argb(piece.link >= 0 ? link : plain));
      g_.DrawString(text.c_str(), static_cast<INT>(text.size()), &FontFor(fontSpec),
                    Gdiplus::PointF(box_.X + indent + piece.box.left, y + piece.box.top), &TextFormat(), &brush);
    }
  }

  static std::string JoinLines(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) joined += (joined.empty() ? "" : "\n") + line;
    return joined;
  }

  // Image buttons: the caption in the middle.
  void PaintCaption() {
    if (control_.caption.empty() || control_.Kind() == ControlKind::CheckBox) return;
    if (control_.Kind() != ControlKind::SkinnedImageButton && control_.Kind() != ControlKind::Button) return;
    const FontSpec font = form_.FontOf(control_);
    const int height = form_.Measurer().Measure(font, "Ag").height;
    const std::wstring text = Wide(control_.caption);
    const int width = form_.Measurer().Measure(font, control_.caption).width;
    Gdiplus::SolidBrush brush(Argb(TextColour(MakeColour(0xFF, 0xFF, 0xFF))));
    const REAL shift = state_ == ButtonState::Down ? 1.0f : 0.0f;
    g_.DrawString(text.c_str(), static_cast<INT>(text.size()), &FontFor(font),
                  Gdiplus::PointF(box_.X + (box_.Width - width) / 2, box_.Y + (box_.Height - height) / 2 + shift),
                  &TextFormat(), &brush);
  }

  void PaintCheckBox() {
    const REAL side = 14;
    const REAL top = box_.Y + std::floor((box_.Height - side) / 2);
    RectF square(box_.X + 1, top, side - 1, side - 1);
    Gdiplus::GraphicsPath path;
    RoundedRectangle(path, square, 2.5f);
    const bool over = state_ == ButtonState::Over || state_ == ButtonState::Down;
    Gdiplus::SolidBrush fill(Argb(control_.checked ? kBlue : Lighter(form_.colour, over ? 18 : 8)));
    g_.FillPath(&fill, &path);
    Gdiplus::Pen edge(Argb(control_.checked ? kBlue : (over ? MakeColour(0x8A, 0x95, 0xA5) : MakeColour(0x5A, 0x63, 0x70))), 1);
    g_.DrawPath(&edge, &path);
    if (control_.checked) {
      Gdiplus::Pen tick(Color(255, 255, 255, 255), 1.8f);
      const Gdiplus::PointF points[] = {{square.X + 3, top + 7}, {square.X + 5.5f, top + 9.5f}, {square.X + 10.5f, top + 4}};
      g_.DrawLines(&tick, points, 3);
    }
    const FontSpec font = form_.FontOf(control_);
    const REAL textTop = box_.Y + std::floor((box_.Height - form_.Measurer().Measure(font, "Ag").height) / 2);
    PaintText(22, false, textTop);
  }

  void PaintButtonFace(Colour base) {
    Colour colour = base;
    if (state_ == ButtonState::Over) colour = Lighter(base, 22);
    if (state_ == ButtonState::Down) colour = Lighter(base, -22);
    if (state_ == ButtonState::Disabled) colour = kDisabled;
    Gdiplus::GraphicsPath path;
    RoundedRectangle(path, RectF(box_.X + 0.5f, box_.Y + 0.5f, box_.Width - 1, box_.Height - 1), 4);
    Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(0, box_.Y), Gdiplus::PointF(0, box_.Y + box_.Height),
                                      Argb(Lighter(colour, 10)), Argb(Lighter(colour, -8)));
    g_.FillPath(&fill, &path);
  }

  void PaintBuiltIn(const std::string& name) {
    const bool over = state_ == ButtonState::Over || state_ == ButtonState::Down;
    if (SameText(name, "smallwindow_bg")) {
      Gdiplus::LinearGradientBrush fill(Gdiplus::PointF(0, box_.Y), Gdiplus::PointF(0, box_.Y + box_.Height),
                                        Argb(Lighter(form_.colour, 6)), Argb(form_.colour));
      g_.FillRectangle(&fill, box_);
      Gdiplus::Pen edge(Argb(kBorder), 1);
      g_.DrawRectangle(&edge, box_.X, box_.Y, box_.Width - 1, box_.Height - 1);
    } else if (SameText(name, "smallwindow_title")) {
      Gdiplus::SolidBrush fill(Argb(kTitleBar));
      g_.FillRectangle(&fill, box_);
    } else if (SameText(name, "btn_close_b")) {
      if (over) {
        Gdiplus::SolidBrush hot(Argb(state_ == ButtonState::Down ? MakeColour(0xA8, 0x26, 0x26) : MakeColour(0xD0, 0x3B, 0x3B)));
        g_.FillEllipse(&hot, box_.X + box_.Width / 2 - 11, box_.Y + box_.Height / 2 - 11, 22.0f, 22.0f);
      }
      Gdiplus::Pen cross(Argb(over ? MakeColour(0xFF, 0xFF, 0xFF) : MakeColour(0xA8, 0xB2, 0xC0)), 1.6f);
      const REAL cx = box_.X + box_.Width / 2;
      const REAL cy = box_.Y + box_.Height / 2;
      g_.DrawLine(&cross, cx - 5, cy - 5, cx + 5, cy + 5);
      g_.DrawLine(&cross, cx - 5, cy + 5, cx + 5, cy - 5);
    } else if (SameText(name, "btn_smallSetting")) {
      PaintGear(over);
    } else if (SameText(name, "btn_blue_34")) {
      PaintButtonFace(kBlue);
    } else if (SameText(name, "btn_gray_34")) {
      PaintButtonFace(kGrey);
    } else if (SameText(name, "icon_warning_small")) {
      PaintWarning();
    } else if (SameText(name, "icon_clock")) {
      PaintClock();
    } else if (SameText(name, "cutline")) {
      Gdiplus::SolidBrush line(Argb(kBorder));
      g_.FillRectangle(&line, box_);
    } else if (SameText(name, "default_icon")) {
      PaintProgramGlyph();
    } else if (control_.Kind() == ControlKind::SkinnedImageButton && !control_.caption.empty()) {
      PaintButtonFace(kGrey);
    }
  }

  void PaintGear(bool over) {
    const REAL cx = box_.X + box_.Width / 2;
    const REAL cy = box_.Y + box_.Height / 2;
    const REAL outer = std::min(box_.Width, box_.Height) / 2 - 0.5f;
    const Color colour = Argb(over ? MakeColour(0xFF, 0xFF, 0xFF) : MakeColour(0xA8, 0xB2, 0xC0));
    Gdiplus::Pen teeth(colour, 2.2f);
    for (int i = 0; i < 8; ++i) {
      const double angle = i * 3.14159265 / 4;
      g_.DrawLine(&teeth, cx + static_cast<REAL>(std::cos(angle)) * outer * 0.55f, cy + static_cast<REAL>(std::sin(angle)) * outer * 0.55f,
                  cx + static_cast<REAL>(std::cos(angle)) * outer, cy + static_cast<REAL>(std::sin(angle)) * outer);
    }
    Gdiplus::Pen ring(colour, 1.8f);
    g_.DrawEllipse(&ring, cx - outer * 0.55f, cy - outer * 0.55f, outer * 1.1f, outer * 1.1f);
  }

  void PaintWarning() {
    const REAL side = std::min(box_.Width, box_.Height);
    const REAL x = box_.X + (box_.Width - side) / 2;
    const REAL y = box_.Y + (box_.Height - side) / 2;
    Gdiplus::GraphicsPath path;
    const Gdiplus::PointF corners[] = {{x + side / 2, y + 1}, {x + side - 1, y + side - 2}, {x + 1, y + side - 2}};
    path.AddPolygon(corners, 3);
    Gdiplus::SolidBrush fill(Argb(MakeColour(0xF5, 0xA6, 0x23)));
    g_.FillPath(&fill, &path);
    Gdiplus::SolidBrush mark(Argb(MakeColour(0x24, 0x1E, 0x19)));
    g_.FillRectangle(&mark, x + side / 2 - 1.5f, y + side * 0.32f, 3.0f, side * 0.32f);
    g_.FillEllipse(&mark, x + side / 2 - 2, y + side * 0.70f, 4.0f, 4.0f);
  }

  void PaintClock() {
    const REAL side = std::min(box_.Width, box_.Height) * 0.62f;
    const REAL cx = box_.X + box_.Width / 2;
    const REAL cy = box_.Y + box_.Height / 2;
    Gdiplus::SolidBrush face(Argb(MakeColour(0x2A, 0x33, 0x3F)));
    g_.FillEllipse(&face, cx - side / 2, cy - side / 2, side, side);
    Gdiplus::Pen ring(Argb(MakeColour(0x4D, 0xA8, 0xFF)), 4);
    g_.DrawEllipse(&ring, cx - side / 2, cy - side / 2, side, side);
    Gdiplus::Pen hand(Argb(MakeColour(0xE8, 0xEC, 0xF2)), 3);
    hand.SetStartCap(Gdiplus::LineCapRound);
    hand.SetEndCap(Gdiplus::LineCapRound);
    g_.DrawLine(&hand, cx, cy, cx, cy - side * 0.32f);
    g_.DrawLine(&hand, cx, cy, cx + side * 0.24f, cy + side * 0.1f);
  }

  void PaintProgramGlyph() {
    const REAL side = std::min(box_.Width, box_.Height) - 2;
    const RectF frame(box_.X + (box_.Width - side) / 2, box_.Y + (box_.Height - side) / 2, side, side);
    Gdiplus::SolidBrush body(Argb(MakeColour(0x3A, 0x41, 0x4C)));
    g_.FillRectangle(&body, frame);
    Gdiplus::SolidBrush bar(Argb(kBlue));
    g_.FillRectangle(&bar, frame.X, frame.Y, frame.Width, side / 4);
  }

  Graphics& g_;
  const FormModel& form_;
  const Skin& skin_;
  const FormControl& control_;
  RectF box_;
  ButtonState state_;
};

bool Intersects(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void PaintFormArea(HDC dc, const FormModel& form, const Skin& skin, const Rect& area) {
  Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  Gdiplus::SolidBrush background(Argb(form.colour));
  graphics.FillRectangle(&background, 0, 0, area.Width(), area.Height());
  for (const FormControl& control : form.Controls()) {
    if (control.Kind() == ControlKind::Timer || !form.Showing(control)) continue;
    const Rect rect = form.FormRect(control);
    if (!Intersects(rect, area)) continue;
    const RectF box(static_cast<REAL>(rect.left - area.left), static_cast<REAL>(rect.top - area.top),
                    static_cast<REAL>(rect.Width()), static_cast<REAL>(rect.Height()));
    graphics.SetClip(box);
    ControlPainter(graphics, form, skin, control, box).Paint();
    graphics.ResetClip();
  }
}

}  // namespace bootmark::win32

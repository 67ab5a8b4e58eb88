#pragma once
// The portable model of a notice window: a form with a component name that owns
// an ordered list of named controls. The names are the windows' component names
// ("Button_Close", "RdLabel_btime"); the language files key their texts by them,
// and the renderer makes one child window per control.
//
// The model holds everything the window shows (rectangles, visibility, texts,
// fonts, colours, images, cursors) and the event handlers the windows name. The
// notice logic changes the model; the renderer shows it and, after every event it
// delivers, brings the real windows up to date with it. Mouse input reaches the
// model through MouseMove / MouseDown / MouseUp / MouseLeave, so every rule about
// hovering, pressing and clicking is the model's and is tested without a window.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace bootmark {

// What a control is, as far as the portable code needs to tell controls apart.
enum class ControlKind {
  // Controls whose caption the language files translate.
  Label,
  Button,
  GroupBox,
  CheckBox,
  RadioButton,
  ToolButton,
  SpeedButton,
  TabSheet,
  SkinnedLabel,
  SkinnedImageButton,
  MenuItem,
  // A skinned picture; its hint is translated when it shows hints.
  SkinnedImage,
  // A label of several lines, each line its own text.
  NoteLabel,
  // Lists of item texts.
  ComboBox,
  TreeView,
  // Column captions.
  ListView,
  // Controls whose texts the windows set in code: a label with "<a>" links, a
  // plain picture, a panel grouping other controls, a timer.
  HyperlinkLabel,
  Image,
  Panel,
  Timer,
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A colour as Windows keeps it (COLORREF, the form designer's TColor): 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour MakeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) | (static_cast<Colour>(blue) << 16);
}

// A font as designed. `size` is the character height in pixels at 96 dots per
// inch (the Windows font height -size); the font-size level adds to it.
struct FontSpec {
  std::string face = "Segoe UI";
  int size = 12;
  bool bold = false;
  bool underline = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The mouse pointer of a control. Default and HandPoint are the system's arrow and
// hand; ProgramArrow and ProgramHand are the program's own cursors "CR_Arrow" and
// "CR_Hand" (screen cursors 132 and 131), which UseProgramCursors puts in their place.
enum class Cursor { Default, HandPoint, IBeam, ProgramArrow, ProgramHand };

// What an image button shows: its normal, over (mouse on it), down (pressed with
// the mouse on it) or disabled image.
enum class ButtonState { Normal, Over, Down, Disabled };

// Which form edges a control keeps its distance to when the form is resized
// (the form designer's anchors). Left and top only: the control stays where it is;
// left and right: it stretches; right only: it moves with the right edge.
struct Anchors {
  bool left = true;
  bool top = true;
  bool right = false;
  bool bottom = false;
};

class FormControl {
 public:
  FormControl(std::string name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}

  const std::string& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }

  std::string caption;
  std::string hint;
  // Whether the control shows its hint when the mouse rests on it.
  bool showHint = false;
  // The lines of a note label, the items of a combo box or tree view.
  std::vector<std::string> items;
  // The column captions of a list view.
  std::vector<std::string> columns;

  // Position and size in the client area of the parent (the form, or the panel
  // named by `parent`).
  Rect bounds;
  // Name of the panel this control lies on; empty: the form itself.
  std::string parent;
  bool visible = true;
  bool enabled = true;
  Anchors anchors;

  // Labels: the width and height follow the caption (AutoSize). With `wordWrap`
  // the width stays and the text breaks between words into as many lines as it
  // needs; otherwise the caption is one line.
  bool autoSize = false;
  bool wordWrap = false;
  // Centres the caption horizontally in the control (image buttons always do).
  bool centred = false;

  // The font; unset: the form's font. `keepFontSize` leaves the size as designed
  // whatever the font-size level.
  std::optional<FontSpec> font;
  bool keepFontSize = false;

  // Colours: a skin colour name ("text_color.cl_orange_a"), a "#RRGGBB" text or a
  // decimal colour value; empty: the skin's default for the control. Image
  // buttons draw their caption in `textColourOver` while the mouse is on them and
  // in `textColourDown` while pressed (each falling back to `textColour`).
  // Hyperlink labels draw the "<a>" parts in `linkColour`.
  std::string textColour;
  std::string textColourOver;
  std::string textColourDown;
  std::string linkColour;

  // The skin image: a name the skin knows ("btn_close_b", "smallwindow_bg") or a
  // skin file written "imgname=images/x.png". Image buttons look up the name with
  // ".over", ".down" and ".disabled" appended for their other states. Empty: a
  // plain picture or button drawn by the built-in skin for the control's kind.
  std::string image;
  // Images: a picture file outside the skin (PNG or any format GDI+ reads), or the
  // shell icon of a file; either takes the place of `image` when set and usable.
  std::string pictureFile;
  std::string shellIconOf;
  // Stretches the picture to the control's rectangle (otherwise centred).
  bool stretch = false;

  Cursor cursor = Cursor::Default;
  // Pressing the left button on this control moves the window (release the mouse
  // capture and send the window WM_SYSCOMMAND 61458).
  bool dragsWindow = false;

  // Check-box buttons: the check mark; a click toggles it before `onClick` runs.
  bool checked = false;

  // Timers: the interval in milliseconds and whether it ticks.
  int interval = 1000;

  // Event handlers. `onClick`: the left button went down and up on an enabled
  // control. `onLinkClick`: the same on an "<a>" part of a hyperlink label (before
  // `onClick`). `onMouseDown`: the left button went down on it. `onMouseEnter` /
  // `onMouseLeave`: the mouse came onto / left it. `onTimer`: a timer's tick.
  std::function<void()> onClick;
  std::function<void()> onLinkClick;
  std::function<void()> onMouseDown;
  std::function<void()> onMouseEnter;
  std::function<void()> onMouseLeave;
  std::function<void()> onTimer;

 private:
  std::string name_;
  ControlKind kind_;
};

// Measures text as the screen will draw it. The renderer gives the real one; the
// model falls back to an estimate from the font size.
class ITextMeasurer {
 public:
  virtual ~ITextMeasurer() = default;
  // Width and height of `text` on one line.
  virtual Size Measure(const FontSpec& font, std::string_view text) const = 0;
  // How far the last glyph of a line may reach past the measured width (drawn
  // glyphs can overhang their advance); an autosized label leaves that room.
  virtual int Overhang(const FontSpec&) const { return 0; }
};

class FormModel {
 public:
  // `name` is the form's component name ("Bmark_MainForm"); it may be empty.
  explicit FormModel(std::string name);

  FormModel(const FormModel&) = delete;
  FormModel& operator=(const FormModel&) = delete;

  const std::string& Name() const { return name_; }

  // Appends a control. The reference stays valid for the form's life. Two
  // controls of one form cannot share a name (compared without regard to case,
  // as component names are); an empty name may occur any number of times.
  // Throws std::invalid_argument for a name already taken. Controls added later
  // lie above those added earlier: add backgrounds first.
  FormControl& Add(std::string name, ControlKind kind);
  // The same with the design rectangle (left, top, width, height).
  FormControl& Add(std::string name, ControlKind kind, std::int32_t left, std::int32_t top, std::int32_t width,
                   std::int32_t height);

  // The control of that name (without regard to case), or nullptr.
  FormControl* Find(std::string_view name);
  const FormControl* Find(std::string_view name) const;
  // The control of that name; throws std::out_of_range when there is none (the
  // windows look up their own designed controls).
  FormControl& Get(std::string_view name);

  // The controls in the order they were added.
  std::deque<FormControl>& Controls() { return controls_; }
  const std::deque<FormControl>& Controls() const { return controls_; }

  // ---- The window -------------------------------------------------------------
  // Window class and title, by which other programs find the window.
  std::string windowClass = "TBmarkNotice";
  std::string title;
  // Position and size of the window on the screen; the client area is the whole
  // window (no border).
  Rect bounds{0, 0, 430, 250};
  Size minimumSize;
  bool visible = false;
  Colour colour = MakeColour(0x19, 0x1E, 0x24);
  FontSpec font;
  // WS_EX_TOOLWINDOW: no task bar button.
  bool toolWindow = true;
  bool stayOnTop = false;
  // Constant opacity of the layered window (255: opaque).
  std::uint8_t alpha = 255;
  // Hints are wrapped at this width.
  int hintMaxWidth = 350;
  // The skin named in "Main.ini" [Main] "Skin"; empty: the built-in skin only.
  std::string skin;
  // Where the mouse pointer is, in client coordinates; the renderer sets it
  // before each timer tick, tests set it directly.
  Point cursorPosition{-1, -1};
  // A WM_COPYDATA text (zero-terminated UTF-16 at lpData, as UTF-8) the window received.
  std::function<void(const std::string&)> onCopyData;

  Size ClientSize() const { return {bounds.Width(), bounds.Height()}; }
  // The window's rule for "the mouse is over the notice": 1 <= x < width and
  // 1 <= y < height.
  bool MouseOverForm() const;
  // Changes the window size from its top-left corner; controls follow their anchors.
  void Resize(Size clientSize);
  // Moves the window so that its bottom-right corner is that of the work area.
  void PlaceBottomRight(const Rect& workArea);

  // ---- Fonts, text, layout -----------------------------------------------------
  // The font-size level 0 to 2 of "Main.ini" [Main] "FontSize": each level adds a
  // pixel to every control font except those that keep their size.
  void SetFontSizeLevel(int level);
  int FontSizeLevel() const { return fontSizeLevel_; }
  // The font a control is drawn with, level applied.
  FontSpec FontOf(const FormControl& control) const;

  void SetTextMeasurer(const ITextMeasurer* measurer);
  const ITextMeasurer& Measurer() const;

  // Brings the size of every auto-size control in line with its caption. The
  // renderer calls it before it shows the model; logic that places controls
  // under others calls it first.
  void ApplyAutoSize();
  // The control's rectangle in client coordinates of the form.
  Rect FormRect(const FormControl& control) const;
  // Visible itself and on a visible panel.
  bool Showing(const FormControl& control) const;

  // Every control designed with the default cursor gets the program's arrow and
  // every one with the hand-point cursor the program's hand (the renderer calls
  // this when the resource "CR_Arrow" loaded).
  void UseProgramCursors();
  // The cursor over `at` (control coordinates): a hyperlink label's "<a>" parts
  // show the hand.
  Cursor CursorAt(const FormControl& control, Point at) const;

  // ---- Mouse input (control coordinates) ---------------------------------------
  void MouseMove(FormControl& control, Point at);
  void MouseLeave(FormControl& control);
  void MouseDown(FormControl& control, Point at);
  void MouseUp(FormControl& control, Point at);
  // What an image button shows now.
  ButtonState StateOf(const FormControl& control) const;
  const FormControl* Hovered() const { return hovered_; }
  // Index of the "<a>" part under the mouse of the hovered hyperlink label, or -1.
  int HoveredLink() const { return hoveredLink_; }

 private:
  std::string name_;
  // A deque keeps references to controls valid while more are added.
  std::deque<FormControl> controls_;
  int fontSizeLevel_ = 0;
  const ITextMeasurer* measurer_ = nullptr;
  FormControl* hovered_ = nullptr;
  FormControl* pressed_ = nullptr;
  int hoveredLink_ = -1;
  bool programCursors_ = false;
};

// "FontSize" of "Main.ini" as a level: 1 and 2 as they are, anything else 0.
int FontSizeLevelFrom(int setting);

}  // namespace bootmark

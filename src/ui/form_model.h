#pragma once
// The portable model of a notice window: a form with a component name that owns
// an ordered list of named controls. The names are the windows' component names
// ("Button_Close", "RdLabel_btime"); the language files key their texts by them,
// and the renderer makes one child window per control.
//
// Today a control holds its kind and its texts. Rectangles, visibility, cursors,
// images and event handlers are added here as the windows need them.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

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

 private:
  std::string name_;
  ControlKind kind_;
};

class FormModel {
 public:
  // `name` is the form's component name ("Bmark_MainForm"); it may be empty.
  explicit FormModel(std::string name) : name_(std::move(name)) {}

  FormModel(const FormModel&) = delete;
  FormModel& operator=(const FormModel&) = delete;

  const std::string& Name() const { return name_; }

  // Appends a control. The reference stays valid for the form's life. Two
  // controls of one form cannot share a name (compared without regard to case,
  // as component names are); an empty name may occur any number of times.
  // Throws std::invalid_argument for a name already taken.
  FormControl& Add(std::string name, ControlKind kind);

  // The control of that name (without regard to case), or nullptr.
  FormControl* Find(std::string_view name);
  const FormControl* Find(std::string_view name) const;

  // The controls in the order they were added.
  std::deque<FormControl>& Controls() { return controls_; }
  const std::deque<FormControl>& Controls() const { return controls_; }

 private:
  std::string name_;
  // A deque keeps references to controls valid while more are added.
  std::deque<FormControl> controls_;
};

}  // namespace bootmark

#include "app/notice_controls.h"

#include <string>
#include <utility>

namespace bootmark {
namespace {

FormControl& AddTitleBarButton(FormModel& form, std::string_view name, Rect bounds, const char* image,
                               const char* hint, std::function<void()> onClick) {
  FormControl& button = form.Add(std::string(name), ControlKind::SkinnedImageButton, bounds.left, bounds.top,
                                 bounds.Width(), bounds.Height());
  button.image = image;
  button.hint = hint;
  button.showHint = true;
  button.cursor = Cursor::HandPoint;
  button.anchors = {false, true, true, false};
  button.onClick = std::move(onClick);
  return button;
}

}  // namespace

void SetUpNoticeForm(FormModel& form, std::string_view windowClass, std::string_view title) {
  form.windowClass = windowClass;
  form.title = title;
  form.bounds = {0, 0, 430, 250};
  form.font = FontSpec{};
  form.stayOnTop = true;
}

FormControl& AddNoticeFrame(FormModel& form, Size size, std::string_view titleName, std::string_view caption) {
  FormControl& background = form.Add("Imagebg", ControlKind::SkinnedImageButton, 0, 0, size.width, size.height);
  background.image = "imgname=images/smallwindow_bg.png";
  background.stretch = true;
  background.anchors = {true, true, true, true};

  FormControl& titleBar = form.Add("ImageTitle", ControlKind::SkinnedImageButton, 1, 1, size.width - 2, 32);
  titleBar.image = "smallwindow_title";
  titleBar.stretch = true;
  titleBar.anchors = {true, true, true, false};

  FormControl& title = form.Add(std::string(titleName), ControlKind::SkinnedLabel, 14, 9, 0, 0);
  title.caption = caption;
  title.autoSize = true;
  title.keepFontSize = true;
  title.textColour = "smallwindow_interface.cl_smallwindow_name";
  return titleBar;
}

FormControl& AddCloseButton(FormModel& form, std::string_view name, std::function<void()> onClick) {
  return AddTitleBarButton(form, name, {395, 3, 427, 35}, "btn_close_b", "Close", std::move(onClick));
}

FormControl& AddSettingsButton(FormModel& form, std::string_view name, std::function<void()> onClick) {
  return AddTitleBarButton(form, name, {374, 12, 390, 28}, "btn_smallSetting", "Settings", std::move(onClick));
}

}  // namespace bootmark

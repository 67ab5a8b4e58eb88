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

FormControl& AddCloseButton(FormModel& form, std::string_view name, std::function<void()> onClick) {
  return AddTitleBarButton(form, name, {395, 3, 427, 35}, "btn_close_b", "Close", std::move(onClick));
}

FormControl& AddSettingsButton(FormModel& form, std::string_view name, std::function<void()> onClick) {
  return AddTitleBarButton(form, name, {374, 12, 390, 28}, "btn_smallSetting", "Settings", std::move(onClick));
}

}  // namespace bootmark

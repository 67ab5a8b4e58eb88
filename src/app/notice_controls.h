#pragma once
// What the notices of the bottom-right corner share in their form: the window
// itself and the small image buttons of their title bar.
#include <functional>
#include <string_view>

#include "ui/form_model.h"

namespace bootmark {

// A notice window of the design size 430 x 250, "Segoe UI", kept above other windows.
void SetUpNoticeForm(FormModel& form, std::string_view windowClass, std::string_view title);

// The frame of a notice of `size`, from the back: the stretched background
// "Imagebg", the title bar "ImageTitle" (returned) and the title label `titleName`
// with `caption` in the skin's name colour.
FormControl& AddNoticeFrame(FormModel& form, Size size, std::string_view titleName, std::string_view caption);

// The close button (32 x 32 at 395, 3) or the settings button (16 x 16 at 374, 12):
// a skinned image with its hint and the hand cursor, kept at the top right.
FormControl& AddCloseButton(FormModel& form, std::string_view name, std::function<void()> onClick);
FormControl& AddSettingsButton(FormModel& form, std::string_view name, std::function<void()> onClick);

}  // namespace bootmark

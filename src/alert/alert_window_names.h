#pragma once
#include <string_view>

namespace bootmark {

// The running alert window, as later /AddAutoRun starts look for it.
inline constexpr std::string_view kAlertWindowClass = "TBmark_AutoRunNotice";
inline constexpr std::string_view kAlertWindowTitle = "AutoRunNotice";

}  // namespace bootmark

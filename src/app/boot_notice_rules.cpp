#include "app/boot_notice_rules.h"

#include <cstdio>
#include <cstdlib>

#include "base/text.h"

namespace bootmark {
namespace {

constexpr std::int64_t kSplitLimitMs = 360000;  // six minutes
constexpr std::int64_t kMsPerMinute = 60000;
constexpr std::int64_t kMsPerSecond = 1000;

constexpr std::int64_t kSavedTimeEveryDays = 30;
constexpr std::int64_t kMinimumSavedSeconds = 2;
constexpr std::int64_t kOptimizeEveryDays = 7;
constexpr std::int64_t kCleanEveryDays = 7;
constexpr std::int64_t kMinimumHealthDays = 3;

bool IsZeroOrEmpty(std::string_view text) { return text.empty() || text == "0"; }

void MoveTop(FormControl& control, std::int32_t top) {
  const std::int32_t height = control.bounds.Height();
  control.bounds.top = top;
  control.bounds.bottom = top + height;
}

void MoveLeft(FormControl& control, std::int32_t left) {
  const std::int32_t width = control.bounds.Width();
  control.bounds.left = left;
  control.bounds.right = left + width;
}

// The big digit labels: minutes, their unit, seconds, their unit.
void ArrangeBigDigits(FormModel& form) {
  const FormControl& caption = form.Get("RdLabel_btime");
  FormControl& minutes = form.Get("RdLabel_btimeMCount");
  FormControl& minuteUnit = form.Get("RdLabel_btimeMFormat");
  FormControl& seconds = form.Get("RdLabel_btimeCount");
  FormControl& secondUnit = form.Get("RdLabel_btimeSFormat");
  if (minutes.visible) {
    MoveLeft(minutes, caption.bounds.right + 2);
    MoveLeft(minuteUnit, minutes.bounds.right + 2);
    MoveLeft(seconds, minuteUnit.bounds.right + 8);
  } else {
    MoveLeft(seconds, caption.bounds.left);
  }
  MoveLeft(secondUnit, seconds.bounds.right + 2);
}

}  // namespace

void SplitMinutesSeconds(std::int64_t milliseconds, std::string& minutes, std::string& seconds) {
  if (milliseconds <= 0 || milliseconds >= kSplitLimitMs) return;
  std::int64_t wholeMinutes = milliseconds / kMsPerMinute;
  std::int64_t wholeSeconds = (milliseconds % kMsPerMinute) / kMsPerSecond;
  if (wholeMinutes == 1 && wholeSeconds == 0) {
    wholeMinutes = 0;
    wholeSeconds = 60;
  }
  minutes = IntToStr(wholeMinutes);
  seconds = IntToStr(wholeSeconds);
}

std::string MinutesSecondsText(std::string_view minutes, std::string_view seconds) {
  const bool hasMinutes = !IsZeroOrEmpty(minutes);
  const bool hasSeconds = !IsZeroOrEmpty(seconds);
  if (hasMinutes && hasSeconds) return std::string(minutes) + "m " + std::string(seconds) + "s";
  if (hasMinutes) return std::string(minutes) + "m";
  if (hasSeconds) return std::string(seconds) + "s";
  return {};
}

std::string ByteSizeText(std::int64_t bytes, char decimalSeparator) {
  constexpr double kKiB = 1024.0;
  const char* unit = " KB";
  double value = 0;
  if (bytes > 0) {
    value = static_cast<double>(bytes) / kKiB;
    if (bytes >= 1024LL * 1024 * 1024) {
      value = static_cast<double>(bytes) / (kKiB * kKiB * kKiB);
      unit = " GB";
    } else if (bytes >= 1024LL * 1024) {
      value = static_cast<double>(bytes) / (kKiB * kKiB);
      unit = " MB";
    }
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string shown(text);
  for (char& c : shown) {
    if (c == '.') c = decimalSeparator;
  }
  return shown + unit;
}

std::optional<std::string> ApplyTextPattern(std::string_view pattern, std::string_view argument) {
  std::string result;
  bool used = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      result += pattern[i];
      continue;
    }
    if (i + 1 >= pattern.size()) return std::nullopt;
    const char directive = pattern[++i];
    if (directive == '%') {
      result += '%';
    } else if ((directive == 's' || directive == 'S') && !used) {
      result += argument;
      used = true;
    } else {
      return std::nullopt;  // another argument or a number: nothing to give it
    }
  }
  return result;
}

std::int64_t WholeDaysBetween(DateTime a, DateTime b) { return std::llabs(HoursBetween(a, b)) / 24; }

FollowUp ChooseFollowUp(const FollowUpFacts& facts) {
  const std::int64_t savedSeconds = TryParseInteger(facts.savedSecondsText).value_or(0);
  if (facts.daysSinceShare >= kSavedTimeEveryDays && !facts.savedSecondsText.empty() &&
      savedSeconds >= kMinimumSavedSeconds) {
    return FollowUp::SavedTime;
  }
  if (facts.daysSinceOptimize >= kOptimizeEveryDays && !IsZeroOrEmpty(facts.canOptCount)) return FollowUp::Optimize;
  if (facts.daysSinceClean >= kCleanEveryDays && StrToIntDef(facts.healthDays, 0) >= kMinimumHealthDays) {
    return FollowUp::Clean;
  }
  return FollowUp::None;
}

void ArrangeBootNotice(FormModel& form) {
  ArrangeBigDigits(form);

  const FormControl& icon = form.Get("Image_icon");
  const std::int32_t iconTop = icon.bounds.top;
  const std::int32_t iconHeight = icon.bounds.Height();
  FormControl& bootLine = form.Get("RdHtmLabel_btime");
  FormControl& saved = form.Get("RdRichLabel1");
  FormControl& optimise = form.Get("RdRichLabel2");
  MoveTop(optimise, bootLine.bounds.bottom + 2);
  MoveTop(saved, bootLine.bounds.bottom + 5);

  // The lines shown are centred as one block on the clock picture; a block taller
  // than the picture starts a little above it.
  if (bootLine.visible && !saved.visible && !optimise.visible) {
    const std::int32_t height = bootLine.bounds.Height();
    MoveTop(bootLine, iconHeight >= height ? iconTop + (iconHeight - height) / 2 - 18 : iconTop - 10);
  } else if (bootLine.visible && saved.visible) {
    const std::int32_t block = saved.bounds.bottom - bootLine.bounds.top;
    MoveTop(bootLine, block <= iconHeight ? iconTop + (iconHeight - block) / 2 - 18 : iconTop - 10);
    MoveTop(saved, bootLine.bounds.bottom + 5);
  } else if (bootLine.visible && optimise.visible) {
    const std::int32_t block = optimise.bounds.bottom - bootLine.bounds.top;
    MoveTop(bootLine, block > iconHeight ? iconTop - 10 : iconTop + (iconHeight - block) / 2 - 14);
    MoveTop(optimise, bootLine.bounds.bottom - 3);
  }

  FormControl& canScan = form.Get("lbl_CanScan");
  if (canScan.visible) {
    MoveTop(bootLine, iconTop - 10);
    MoveTop(canScan, bootLine.bounds.bottom + 5);
  }

  FormControl& careTitle = form.Get("lbl_CareTitle");
  const std::int32_t widest = form.ClientSize().width - careTitle.bounds.left - 5;
  if (careTitle.bounds.Width() > widest) careTitle.bounds.right = careTitle.bounds.left + widest;

  const FormControl& close = form.Get("Button_Close");
  FormControl& settings = form.Get("Button_Setting");
  MoveTop(settings, close.bounds.top + (close.bounds.Height() - settings.bounds.Height()) / 2);
}

bool NoticeCountdown::Tick(bool mouseOverNotice) {
  if (mouseOverNotice) return false;
  ++ticks_;
  return ticks_ == displaySeconds_;
}

}  // namespace bootmark

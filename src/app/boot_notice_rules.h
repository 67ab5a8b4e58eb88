#pragma once
// The rules of the boot time notice that need no window: how a duration becomes
// minutes and seconds, how a byte count is shown, which follow-up the notice
// offers, where its lines stand, and when its countdown ends.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "ui/form_model.h"

namespace bootmark {

// Minutes and seconds of `milliseconds` as decimal texts, only for
// 0 < milliseconds < 360000; otherwise both keep the values they came with.
// Exactly one minute becomes "0" minutes and "60" seconds.
void SplitMinutesSeconds(std::int64_t milliseconds, std::string& minutes, std::string& seconds);

// "1m 21s", "2m", "45s" from split texts; empty when both are empty or "0".
std::string MinutesSecondsText(std::string_view minutes, std::string_view seconds);

// A byte count as the notice shows it: "0.00 KB" for none, then KB below 1 MiB,
// MB below 1 GiB, otherwise GB, with two decimals after `decimalSeparator`.
std::string ByteSizeText(std::int64_t bytes, char decimalSeparator);

// `pattern` with its one "%s" replaced by `argument` ("%%" stands for "%"); nullopt
// for a pattern with any other "%" directive, which cannot be applied.
std::optional<std::string> ApplyTextPattern(std::string_view pattern, std::string_view argument);

// What the notice offers below the boot time.
enum class FollowUp { SavedTime, Optimize, Clean, None };

struct FollowUpFacts {
  std::int64_t daysSinceShare = 0;
  std::int64_t daysSinceOptimize = 0;
  std::int64_t daysSinceClean = 0;
  std::string savedSecondsText;  // empty: nothing saved
  std::string canOptCount;       // "Startup Manager\config.ini" as read
  std::string healthDays;        // "HealthLevel.ini" [Display] "days" as read
};

// The time saved at most once in 30 days (and only when at least 2 s), then the
// optimisable count at most once a week, then the cleaning findings at most once a
// week when the suite's health check is 3 or more days old; otherwise nothing.
FollowUp ChooseFollowUp(const FollowUpFacts& facts);

// Whole days between two day numbers, whichever is later.
std::int64_t WholeDaysBetween(DateTime a, DateTime b);

// The notice's layout rules on its form: the boot line and the text below it
// centred on the clock picture, the big digit labels in a row, the cleaning title
// kept inside the window, the settings button centred on the close button.
void ArrangeBootNotice(FormModel& form);

// The display countdown: a tick under the mouse pointer does not count, the count
// is never reset, and the notice closes at the tick that reaches the display time
// (a display time of 0 or less never closes it).
class NoticeCountdown {
 public:
  explicit NoticeCountdown(int displaySeconds) : displaySeconds_(displaySeconds) {}
  // True when the notice is to close now.
  bool Tick(bool mouseOverNotice);
  int Ticks() const { return ticks_; }

 private:
  int displaySeconds_;
  int ticks_ = 0;
};

}  // namespace bootmark

#include "app/run_mode.h"

#include <array>
#include <utility>

#include "base/text.h"

namespace bootmark {

RunMode ParseRunMode(std::string_view switchText) {
  // Tried in this order; the first match wins.
  static constexpr std::array<std::pair<std::string_view, RunMode>, 6> kModes{{
      {"/mainData", RunMode::MainData},
      {"/BootTask", RunMode::BootTask},
      {"/DNSChange", RunMode::DNSChange},
      {"/AddAutoRun", RunMode::AddAutoRun},
      {"/UpdateTaskschd", RunMode::UpdateTaskschd},
      {"/LoadAVList", RunMode::LoadAVList},
  }};
  for (const auto& [text, mode] : kModes) {
    if (SameText(switchText, text)) return mode;
  }
  return RunMode::None;
}

}  // namespace bootmark

#include "startup/startup_records.h"

#include "base/text.h"

namespace bootmark {

ItemState RecommendedStatus(Recommendation recommendation) {
  switch (recommendation) {
    case Recommendation::Disable: return ItemState::Disabled;
    case Recommendation::Delay: return ItemState::Delayed;
    case Recommendation::Keep: return ItemState::Enabled;
    default: return ItemState::None;
  }
}

double BootSecondsOf(const std::string& boottime) {
  std::string number = boottime;
  if (const std::size_t s = number.find('s'); s != std::string::npos) number.erase(s, 1);
  return TryParseFloat(number).value_or(0.0);
}

}  // namespace bootmark

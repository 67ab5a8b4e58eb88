#pragma once
#include "platform/desktop.h"

namespace bootmark {

// True when the foreground window covers the whole primary screen and is not the
// desktop itself: a game, a video or a presentation the alert must not disturb.
bool IsFullScreenForeground(IDesktop& desktop);

}  // namespace bootmark

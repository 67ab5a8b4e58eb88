#pragma once
// Startup items that the suite's own operations wrote. The suite leaves one record
// per such item in "Bootmark\AutoRunConfig.ini" of its common data folder; the
// alert on the item consumes the record, so the item is passed over once.
#include <string_view>

#include "platform/platform.h"
#include "startup/command_path.h"

namespace bootmark {

// True when a record has the item's name (case ignored) and kind, and the same
// folder as the item (of the shortcut for kind 4, of the resolved program
// otherwise; a record or item without a folder matches any). The first matching
// record is erased and the file saved. False on any failure.
bool IsTarvoOperation(const Platform& platform, TCheckPath& checkPath, std::string_view name, int kind,
                      std::string_view exePath, std::string_view linkPath);

}  // namespace bootmark

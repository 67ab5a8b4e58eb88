#pragma once
// "Bootmark\AutoRunConfig.ini": the startup items the suite itself wrote, one
// section per item. Bootmark only reads it and removes records from it.
#include "platform/platform.h"

namespace bootmark {

// Erases every section of the file (the file stays, empty of records).
void ClearAutoRunConfig(const Platform& platform);

}  // namespace bootmark

#pragma once
// "Startup Manager\mainData.dat": the sorted list of the files that start with
// Windows, written for the suite by the /mainData mode.
#include <string>
#include <vector>

#include "app/mode_jobs.h"
#include "platform/platform.h"

namespace bootmark {

// Paths of the entries whose file exists, sorted, each once (case ignored).
std::vector<std::string> SortedExistingFiles(const std::vector<StartupFileEntry>& entries);

void WriteMainData(const Platform& platform, const std::vector<StartupFileEntry>& entries);

}  // namespace bootmark

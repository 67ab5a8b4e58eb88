#pragma once
// The startup item alert's log ("Bootmark\smAutoRun.log" in the suite's common data
// folder): a list of lines rewritten whole for every line added, kept to at most
// 20000 lines before the next one by dropping the oldest 9000. Each append holds
// the file's shared lock, so that runs appending at once lose no line.
#include <cstddef>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace bootmark {

// Relative to GetSuiteCommonDataDir.
inline constexpr std::string_view kAlertLogName = "Bootmark\\smAutoRun.log";
// A log of this many lines or more loses its oldest kAlertLogDropLines lines
// before the next line is added.
inline constexpr std::size_t kAlertLogMaxLines = 20000;
inline constexpr std::size_t kAlertLogDropLines = 9000;

// "yyyy-mm-dd hh:mm:ss zzz" of a local time.
std::string FormatAlertLogTimeStamp(DateTime time);

// Adds one line to the log `fileName`: the time stamp, the program's file name and
// `text`, separated by spaces; an empty `text` adds an empty line without them (and
// cuts nothing). The existing lines are read in any encoding with a byte order mark
// (ANSI without one) and end at CR LF, LF or CR; a final line break starts no further
// line. The file is saved as UTF-16 LE with byte order mark, CR LF after every line,
// replaced in one step. A log that exists but cannot be read is left as it is.
// Never throws.
void AppendAlertLog(IFileSystem& files, IClock& clock, IEnvironment& environment, std::string_view text,
                    std::string_view fileName);

}  // namespace bootmark

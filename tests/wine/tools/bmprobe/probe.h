// bmprobe: a window probe that end-to-end tests run inside Wine beside Bootmark.
// Each subcommand is one small function; all text output is UTF-8, one record a line.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace bmprobe {

using Args = std::vector<std::wstring>;  // the subcommand's own arguments

// Output (binary stdout, flushed after every line so a reader sees it at once).
void PrintLine(const std::wstring& line);
void PrintError(const std::wstring& message);

// The window of a handle written as a number ("0x1002A"), or nullptr.
HWND ExistingWindow(const std::wstring& text);
// hwnd, pid, class, title, visible, rect: the line of `list` and `watch`.
std::wstring DescribeWindow(HWND window);

// Subcommands: each returns the exit code (0 done, 1 not found / failed, 2 usage).
int Wait(const Args& args);
int Children(const Args& args);
int List(const Args& args);
int Watch(const Args& args);
int CopyData(const Args& args);
int Click(const Args& args);
int FullScreenWindow(const Args& args);
int SuiteWindow(const Args& args);
int NewJob(const Args& args);
int NewLink(const Args& args);

}  // namespace bmprobe

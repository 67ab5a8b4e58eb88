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

// "0x1002A" <-> HWND; ParseHandle returns nullptr on anything that is not a number.
std::wstring FormatHandle(HWND window);
HWND ParseHandle(const std::wstring& text);
// "*" stands for any class or any title (a null pointer for FindWindowW).
const wchar_t* Pattern(const std::wstring& text);
// Tabs, line breaks and backslashes escaped, so that a record stays one line.
std::wstring Escape(const std::wstring& text);

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
std::wstring RectOf(HWND window);  // "left,top,right,bottom" in screen coordinates
// A top-level or message-only window by class and title, or nullptr.
HWND FindAnyWindow(const std::wstring& className, const std::wstring& title);
// Every top-level window, then every message-only window.
std::vector<HWND> AllWindows();
// hwnd, pid, class, title, visible, rect: the line of `list` and `watch`.
std::wstring DescribeWindow(HWND window);
// Registers the window class of a stand-in window with its procedure and stock brush.
bool RegisterStandInClass(const std::wstring& className, WNDPROC proc, int brush);
// Prints the line of a stand-in window (in front: made the foreground window first,
// its line ending in "foreground" or "background"), then serves it until it is
// closed or the probe killed. A window that could not be made fails with exit code 1.
int Serve(HWND window, bool inFront);

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

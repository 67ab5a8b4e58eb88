// bmrecorder.exe: stands in for a program that Bootmark starts. Each start appends
// one UTF-8 line, "<command line>\t<current folder>", to "<own name>.calls.txt"
// beside itself (copied as "KST.exe" it writes "KST.calls.txt"), then ends with
// exit code 0.
#include "tool_files.h"

int main() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  const std::string line = bmtool::Narrow(GetCommandLineW()) + "\t" + bmtool::Narrow(folder);
  return bmtool::AppendLine(bmtool::ModuleStem(nullptr) + L".calls.txt", line) ? 0 : 1;
}

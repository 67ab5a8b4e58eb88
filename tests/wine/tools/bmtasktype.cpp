// bmtasktype.dll: stands in for the suite library that tells the installation type
// (copied into the suite's folder as "Quillcore.dll"). Its one export,
// GetTaskTypeEx, answers the number written in "GetTaskTypeEx.txt" beside the
// library (0 when that file is missing or holds no number) and appends
// "GetTaskTypeEx(<argument>)" to "GetTaskTypeEx.calls.txt" beside it.
#include <cstdlib>

#include "tool_files.h"

extern "C" int WINAPI GetTaskTypeEx(int argument) {
  const std::wstring stem = bmtool::ModuleStem(bmtool::ThisModule());
  const std::wstring folder = stem.substr(0, stem.find_last_of(L'\\') + 1);
  bmtool::AppendLine(folder + L"GetTaskTypeEx.calls.txt", "GetTaskTypeEx(" + std::to_string(argument) + ")");
  std::string answer;
  return bmtool::ReadAll(folder + L"GetTaskTypeEx.txt", answer) ? std::atoi(answer.c_str()) : 0;
}

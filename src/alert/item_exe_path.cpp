#include "alert/item_exe_path.h"

#include "base/text.h"

namespace bootmark {

std::string GetItemExePath(TCheckPath& checkPath, std::string_view commandLine) {
  const std::string trimmed(Trim(commandLine));
  CommandLineParts parts = checkPath.SplitCommandLine(trimmed, false);
  if (!parts.filePath.empty()) return std::move(parts.filePath);

  std::string answer = trimmed;
  if (!checkPath.IsFile(answer)) answer = checkPath.RepairProgramFiles(commandLine);
  if (!checkPath.IsFile(answer)) answer = checkPath.ExtractCommandExe(commandLine);
  return answer;
}

}  // namespace bootmark

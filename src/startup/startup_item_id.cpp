#include "startup/startup_item_id.h"

#include "base/md5.h"
#include "base/path.h"
#include "base/text.h"
#include "common/file_signer.h"

namespace bootmark {
namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

FindTaskAccount TaskAccountFinder(TaskReader& tasks) {
  return [&tasks](std::string_view name) -> std::optional<TaskAccountFields> {
    const std::unique_ptr<TTaskInfo> task = tasks.FindTask(name, "\\", true);
    if (!task) return std::nullopt;
    return TaskAccountFields{task->UserId, task->Author};
  };
}

std::string GetStartupItemId(const ItemKeys& keys, IFileSystem& files, IVersionResources& versions,
                             std::string_view name, std::string_view exePath, int kind) {
  std::string description;
  std::string company;
  GetFileCompany(files, versions, exePath, description, company);
  return ItemMd5Key(keys, name, ExtractFileName(exePath), company, kind);
}

std::string ItemMd5Key(const ItemKeys& keys, std::string_view name, std::string_view fileName,
                       std::string_view company, int kind) {
  const std::string file = MakeFileKey(fileName, company);
  const std::string key = keys.MakeItemKey(name, file, company, kind);
  return Md5Hex(LowerAscii(key + file + std::string(company) + IntToStr(kind)));
}

}  // namespace bootmark

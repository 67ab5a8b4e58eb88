#pragma once
// The Task Scheduler's own store: one Task Scheduler 2.0 XML file per registered
// task under %windir%\System32\Tasks, one folder per task folder. The file's name
// is the task's name; its content is the task's definition as registered.
//
// The reader turns to this store when the scheduler's COM service opens folders
// but does not implement its task collections (as under Wine): the files hold
// exactly what the service would report. Values the files leave out read as the
// scheduler's defaults for them.
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/task_scheduler.h"

namespace bootmark {

class TaskXmlStore : public ITaskSource {
 public:
  // `root`: the store's folder ("C:\Windows\System32\Tasks").
  TaskXmlStore(IFileSystem& files, std::string root);

  std::unique_ptr<ITaskFolder> OpenFolder(std::string_view path) override;
  std::unique_ptr<ITaskFolder> CreateFolder(std::string_view name) override;

 private:
  IFileSystem& files_;
  std::string root_;
};

// A task definition read from its XML text; throws TaskSchedulerError when the
// text is not a task document.
std::unique_ptr<ITaskDefinition> ParseTaskDefinition(std::string_view bytes);

}  // namespace bootmark

#include "startup/task_info.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace bootmark {

void TTaskInfo::GetTrigger(std::int32_t index, TTaskTriggerEntry& entry) const {
  if (index >= 0 && index < TriggerCount()) entry = Triggers[static_cast<std::size_t>(index)];
}

void TTaskFilter::AddFolder(std::string_view path) {
  // Folder names of the scheduler are ASCII in practice; other letters keep their
  // form (the exact comparison ignores case anyway).
  std::string lower(path);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  Folders.push_back(std::move(lower));
}

bool TTaskFilter::IsFolderExcluded(std::string_view path) const {
  if (ExactFolderMatch) {
    return std::any_of(Folders.begin(), Folders.end(),
                       [&](const std::string& folder) { return SameText(folder, path); });
  }
  // The list's text: entries joined by line breaks, searched case-sensitively.
  std::string text;
  for (const std::string& folder : Folders) text += folder + "\r\n";
  return text.find(path) != std::string::npos;
}

}  // namespace bootmark

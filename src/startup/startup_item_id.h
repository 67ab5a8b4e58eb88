#pragma once
// The identifier of a startup item towards the maker's statistics: the same on
// every computer for the same program started the same way, whoever the user is
// and whatever version the program has.
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/version_resources.h"
#include "startup/item_keys.h"
#include "startup/task_reader.h"

namespace bootmark {

// The account fields of a task found by name in any folder of the scheduler, for
// the keys of scheduled tasks. `tasks` must outlive the function.
FindTaskAccount TaskAccountFinder(TaskReader& tasks);

// 32 lower-case hexadecimal digits: the MD5 of the UTF-8 bytes of the item key
// (name with the computer's and user's parts replaced by tags, kind in front),
// the file key of the executable, its publisher and the kind, all lower-cased
// (ASCII letters) and with nothing between them.
// `fileName` is the file name of the item's program, `company` its publisher.
// Every item of the inventory carries this identifier as its `Md5`.
std::string ItemMd5Key(const ItemKeys& keys, std::string_view name, std::string_view fileName,
                       std::string_view company, int kind);

// The identifier of an item from its program's path (the publisher read from
// the file's version information).
std::string GetStartupItemId(const ItemKeys& keys, IFileSystem& files, IVersionResources& versions,
                             std::string_view name, std::string_view exePath, int kind);

}  // namespace bootmark

#include "startup/startup_registry_state.h"

#include <optional>
#include <string>

#include "base/text.h"
#include "common/registry_values.h"

namespace bootmark {
namespace {

constexpr std::string_view kApprovedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
constexpr std::string_view kStoreStateKey =
    "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\SystemAppData\\";
constexpr std::uint8_t kApprovedDisabled = 3;

struct ApprovedKey {
  RegistryRoot root;
  std::string_view name;
  RegistryView view;
};

constexpr ApprovedKey kApprovedKeys[] = {
    {RegistryRoot::CurrentUser, "Run", RegistryView::Default},
    {RegistryRoot::CurrentUser, "StartupFolder", RegistryView::Default},
    {RegistryRoot::LocalMachine, "Run32", RegistryView::Default},
    {RegistryRoot::LocalMachine, "Run", RegistryView::Default},
    {RegistryRoot::LocalMachine, "StartupFolder", RegistryView::Default},
    {RegistryRoot::LocalMachine, "Run32", RegistryView::Registry64},
    {RegistryRoot::LocalMachine, "Run", RegistryView::Registry64},
    {RegistryRoot::LocalMachine, "StartupFolder", RegistryView::Registry64},
};
// The keys of the 64-bit view are asked only on 64-bit Windows.
constexpr std::size_t kDefaultViewKeys = 5;

}  // namespace

bool IsStartupApprovedDisabled(IRegistry& registry, bool is64BitWindows, std::string_view valueName) {
  const std::size_t count = is64BitWindows ? std::size(kApprovedKeys) : kDefaultViewKeys;
  for (std::size_t i = 0; i < count; ++i) {
    const ApprovedKey& entry = kApprovedKeys[i];
    const auto key = registry.OpenKey(entry.root, std::string(kApprovedKey) + std::string(entry.name),
                                      registry_access::kRead, entry.view);
    if (!key) continue;
    const std::optional<RegistryValue> value = key->ReadValue(valueName);
    if (value && value->type == registry_type::kBinary && !value->data.empty() &&
        static_cast<std::uint8_t>(value->data[0]) == kApprovedDisabled) {
      return true;
    }
  }
  return false;
}

std::int32_t GetStoreTaskState(IRegistry& registry, std::string_view keyName) {
  const auto key = registry.OpenKey(RegistryRoot::CurrentUser, std::string(kStoreStateKey) + std::string(keyName),
                                    registry_access::kRead, RegistryView::Default);
  if (!key) return store_task_state::kUnknown;
  const std::optional<std::uint32_t> state = ReadRegistryDword(*key, "State");
  if (!state) return store_task_state::kUnknown;
  const auto number = static_cast<std::int32_t>(*state);
  if (number == store_task_state::kEnabled && keyName.find("CortanaStartupId") != std::string_view::npos &&
      ReadRegistryDword(*key, "UserEnabledStartupOnce") == 0u) {
    return store_task_state::kDisabledByUser;
  }
  return number;
}

bool IsRunValueBack(IRegistry& registry, std::int32_t regType, std::string_view regFullPath,
                    std::string_view valueName, std::string_view cmdLine) {
  const std::string_view path = Trim(regFullPath);
  const std::size_t slash = path.find('\\');
  if (slash == std::string_view::npos) return false;
  const std::string_view rootName = path.substr(0, slash);
  RegistryRoot root;
  if (SameText(rootName, "HKEY_CURRENT_USER")) {
    root = RegistryRoot::CurrentUser;
  } else if (SameText(rootName, "HKEY_LOCAL_MACHINE")) {
    root = RegistryRoot::LocalMachine;
  } else {
    return false;
  }
  const RegistryView view = regType == 2 ? RegistryView::Registry64 : RegistryView::Default;
  const auto key = registry.OpenKey(root, path.substr(slash + 1), registry_access::kRead, view);
  if (!key) return false;
  const std::optional<std::string> text = ReadRegistryString(*key, valueName);
  return text && SameText(*text, cmdLine);
}

}  // namespace bootmark

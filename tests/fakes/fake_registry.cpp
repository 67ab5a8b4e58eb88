#include "fakes/fake_registry.h"

#include "base/text.h"
#include "common/registry_values.h"

namespace bootmark {
namespace {

constexpr std::uint32_t kKeySetValue = 0x0002;  // the right a key needs for writing values

std::vector<std::string> PathParts(std::string_view path) {
  std::vector<std::string> parts;
  for (const std::string& part : SplitText(path, "\\")) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

class FakeRegistryKey : public IRegistryKey {
 public:
  FakeRegistryKey(FakeRegistry::Key& key, bool writable) : key_(key), writable_(writable) {}

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    for (const auto& [upper, name] : key_.subKeys) names.push_back(name);
    return names;
  }
  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    for (const auto& [upper, entry] : key_.values) names.push_back(entry.first);
    return names;
  }
  std::optional<RegistryValue> ReadValue(std::string_view name) override {
    const auto found = key_.values.find(UpperCaseOrdinal(name));
    if (found == key_.values.end()) return std::nullopt;
    return found->second.second;
  }
  bool WriteValue(std::string_view name, const RegistryValue& value) override {
    if (!writable_) return false;
    key_.values[UpperCaseOrdinal(name)] = {std::string(name), value};
    return true;
  }
  bool DeleteValue(std::string_view name) override {
    return writable_ && key_.values.erase(UpperCaseOrdinal(name)) > 0;
  }

 private:
  FakeRegistry::Key& key_;
  bool writable_;
};

}  // namespace

std::string FakeRegistry::NodeId(RegistryRoot root, std::string_view path, RegistryView view) const {
  // As on 64-bit Windows: of the machine's keys only "Software" has a 32-bit view,
  // which the 64-bit view shows as "Software\Wow6432Node".
  std::vector<std::string> parts = PathParts(path);
  for (std::string& part : parts) part = UpperCaseOrdinal(part);
  const bool software = !parts.empty() && parts[0] == "SOFTWARE";
  const bool split = is64BitWindows && (root == RegistryRoot::ClassesRoot ||
                                        (root == RegistryRoot::LocalMachine && software));
  bool as32 = view != RegistryView::Registry64;
  if (split && !as32 && parts.size() > 1 && parts[1] == "WOW6432NODE") {
    parts.erase(parts.begin() + 1);
    as32 = true;
  }
  std::string id = std::to_string(static_cast<std::uint32_t>(root)) + (!split ? "" : as32 ? "32" : "64");
  for (const std::string& part : parts) id += "\\" + part;
  return id;
}

FakeRegistry::Key& FakeRegistry::Create(RegistryRoot root, std::string_view path, RegistryView view) {
  std::string built;
  Key* parent = &keys_[NodeId(root, "", view)];
  for (const std::string& part : PathParts(path)) {
    built += "\\" + part;
    Key& child = keys_[NodeId(root, built, view)];
    if (child.name.empty()) child.name = part;
    parent->subKeys.emplace(UpperCaseOrdinal(part), part);
    parent = &child;
  }
  return *parent;
}

void FakeRegistry::SetString(RegistryRoot root, std::string_view path, std::string_view name,
                             std::string_view text, RegistryView view) {
  SetValue(root, path, name, MakeRegistryString(text), view);
}

void FakeRegistry::SetDword(RegistryRoot root, std::string_view path, std::string_view name, std::uint32_t number,
                            RegistryView view) {
  SetValue(root, path, name, MakeRegistryDword(number), view);
}

void FakeRegistry::SetValue(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue value,
                            RegistryView view) {
  Create(root, path, view).values[UpperCaseOrdinal(name)] = {std::string(name), std::move(value)};
}

void FakeRegistry::AddKey(RegistryRoot root, std::string_view path, RegistryView view) { Create(root, path, view); }

void FakeRegistry::DenyAccess(RegistryRoot root, std::string_view path, RegistryView view) {
  denied_.insert(NodeId(root, path, view));
}

std::unique_ptr<IRegistryKey> FakeRegistry::OpenKey(RegistryRoot root, std::string_view path, std::uint32_t access,
                                                    RegistryView view) {
  const std::string id = NodeId(root, path, view);
  const auto found = keys_.find(id);
  if (found == keys_.end() || denied_.count(id) > 0) return nullptr;
  return std::make_unique<FakeRegistryKey>(found->second, (access & kKeySetValue) != 0);
}

std::unique_ptr<IRegistryKey> FakeRegistry::CreateKey(RegistryRoot root, std::string_view path, RegistryView view) {
  if (denied_.count(NodeId(root, path, view)) > 0) return nullptr;
  return std::make_unique<FakeRegistryKey>(Create(root, path, view), true);
}

}  // namespace bootmark

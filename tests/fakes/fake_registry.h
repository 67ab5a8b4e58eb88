#pragma once
// An in-memory registry with the two views of 64-bit Windows.
//
// Key paths and value names are compared without regard to case. On a 64-bit
// machine (the default) HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT have a 32-bit
// and a 64-bit view: RegistryView::Default and Registry32 give the 32-bit one, as
// for the 32-bit program. The other roots are shared by both views. With
// `is64BitWindows` false there is one view of everything.
#include <map>
#include <set>
#include <string>

#include "platform/registry.h"

namespace bootmark {

class FakeRegistry : public IRegistry {
 public:
  bool is64BitWindows = true;

  // Setting up: creates the key (and its parents) and sets a value.
  void SetString(RegistryRoot root, std::string_view path, std::string_view name, std::string_view text,
                 RegistryView view = RegistryView::Default);
  void SetDword(RegistryRoot root, std::string_view path, std::string_view name, std::uint32_t number,
                RegistryView view = RegistryView::Default);
  void SetValue(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue value,
                RegistryView view = RegistryView::Default);
  void AddKey(RegistryRoot root, std::string_view path, RegistryView view = RegistryView::Default);
  // Opening the key fails as if access were refused.
  void DenyAccess(RegistryRoot root, std::string_view path, RegistryView view = RegistryView::Default);

  std::unique_ptr<IRegistryKey> OpenKey(RegistryRoot root, std::string_view path, std::uint32_t access,
                                        RegistryView view) override;
  std::unique_ptr<IRegistryKey> CreateKey(RegistryRoot root, std::string_view path, RegistryView view) override;

  struct Key {
    std::string name;  // as first written
    std::map<std::string, std::pair<std::string, RegistryValue>> values;  // by upper-case name
    std::map<std::string, std::string> subKeys;  // upper-case name -> name, in name order
  };

 private:
  std::string NodeId(RegistryRoot root, std::string_view path, RegistryView view) const;
  Key& Create(RegistryRoot root, std::string_view path, RegistryView view);

  std::map<std::string, Key> keys_;  // by NodeId
  std::set<std::string> denied_;
};

}  // namespace bootmark

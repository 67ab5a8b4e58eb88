#pragma once
// A fake machine for the inventory controller tests: its programs, services,
// record files and databases, and the controller over them.
#include <memory>
#include <string>
#include <string_view>

#include "base/md5.h"
#include "base/text.h"
#include "startup/main_ctl.h"
#include "unit/suite_machine.h"

namespace bootmark::main_ctl_test {

inline constexpr const char* kRecords = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Startup Manager\\";
inline constexpr const char* kCache = "C:\\ProgramData\\Tarvo\\Kestrune\\Startup Manager\\StartupCache.dat";
inline constexpr const char* kVendor = "Maker Windows";

struct Machine : testing::SuiteMachine {
  Machine() { AddProgram("C:\\Windows\\system32\\svchost.exe", kVendor); }

  void AddProgram(const std::string& path, const std::string& company) {
    fake.files.AddFile(path, "MZ");
    SetCompany(path, company);
  }
  void AddService(const std::string& name, std::uint32_t startType, const std::string& path,
                  const std::string& description = "") {
    fake.services.installed.push_back({name, name + " Service", startType, path, description});
  }
  // An antivirus product: its folder "C:\\Shieldy\\" and its publisher's signer are protected.
  void AddAntivirus() {
    fake.wow64.currentProcessIsWow64 = false;
    fake.files.AddFile(programDir + "DetectionEx.ini", "[P_Shieldy]\r\nDisplayName='shieldy'\r\n");
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Shieldy";
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "DisplayName", "Shieldy Antivirus");
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "Publisher", "Shieldy Labs");
    fake.registry.SetString(RegistryRoot::LocalMachine, key, "DisplayIcon", "\"C:\\Shieldy\\guard.exe\",0");
    fake.files.AddFile("C:\\Shieldy\\guard.exe", "MZ");
  }
  void ListKey(std::string_view table, const std::string& text) {
    Database(table == "whiteList" ? kStartupWhiteDb : kStartupBlackDb,
             "CREATE TABLE IF NOT EXISTS " + std::string(table) + "(MD5 TEXT); INSERT INTO " + std::string(table) +
                 " VALUES('" + UpperCaseOrdinal(Md5Hex(UpperCaseOrdinal(text))) + "');");
  }
  void Record(std::string_view file, const std::string& hash) {
    fake.files.AddFile(kRecords + std::string(file), "[Main]\r\n1=ItemType:2|ItemHash:" + hash + "|\r\ncount=1\r\n");
  }
  TMainCtl& Controller() {
    if (!controller) {
      controller = std::make_unique<TMainCtl>(InventoryContext{fake.platform, system, tasks, checkPath, identity, nullptr});
    }
    return *controller;
  }
  const TServiceItem* Service(const std::string& name) {
    for (const TServiceItem& item : Controller().Lists().services) {
      if (item.Name == name) return &item;
    }
    return nullptr;
  }

  SystemInfo system{fake.platform};
  TaskReader tasks{fake.platform, nullptr};
  TCheckPath checkPath{fake.platform};
  LocalIdentity identity;
  std::unique_ptr<TMainCtl> controller;
};

}  // namespace bootmark::main_ctl_test

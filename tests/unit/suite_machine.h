#pragma once
// A fake machine with the suite installed, which the inventory and screening tests
// build on: a program folder whose lookup databases are real files at a path the
// fake file system takes as well, and the system's service host.
#include <string>
#include <string_view>

#include "fakes/fake_platform.h"
#include "fakes/task_xml_files.h"
#include "fakes/version_resource_builder.h"
#include "unit/sqlite_test_files.h"

namespace bootmark::testing {

struct SuiteMachine {
  SuiteMachine() {
    fake.environment.executablePath = programDir + "Bootmark.exe";
    fake.environment.variables = {{"Path", "C:\\Windows\\system32"}, {"windir", "C:\\Windows"}};
    fake.files.AddDirectory(programDir + "Database");
    fake.files.AddFile("C:\\Windows\\system32\\svchost.exe", "MZ");
  }

  // A database of the program folder, created by `sql`.
  void Database(std::string_view relative, const std::string& sql) {
    const std::string path = programDir + std::string(relative);
    RunSql(path, sql);
    fake.files.AddFile(path, "SQLite");
  }
  // The program's version resource names `company`.
  void SetCompany(const std::string& path, const std::string& company) {
    fake.versions.Set(path, version_bytes::English({{"CompanyName", company}}));
  }

  ScratchFolder scratch;
  const std::string programDir = scratch.File("Kestrune") + "\\";
  FakePlatform fake;
};

}  // namespace bootmark::testing

// The file system contract against the fake the rule tests use.
#include "contracts/file_system_contract.h"
#include "fakes/fake_file_system.h"

namespace bootmark::contracts {
namespace {

class FakeEnv {
 public:
  FakeEnv() { fs_.AddDirectory(kFolder); }
  IFileSystem& Files() { return fs_; }
  std::string Folder() const { return kFolder; }
  void Put(const std::string& path, std::string_view bytes) { fs_.AddFile(path, bytes); }
  std::string Bytes(const std::string& path) const { return fs_.Content(path).value_or(""); }
  void HoldSharing(const std::string& path, bool held) { fs_.HoldOpenForWriting(path, held); }
  void HoldExclusively(const std::string& path, bool held) { fs_.SetUnreadable(path, held); }
  std::string ShortName(const std::string& path) {
    fs_.AddShortName(path, "ALONGF~1.EXE");
    return std::string(kFolder) + "ALONGF~1.EXE";
  }

 private:
  static constexpr const char* kFolder = "C:\\Users\\ann\\AppData\\Local\\Temp\\contract\\";
  FakeFileSystem fs_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, FileSystemContract, FakeEnv);

}  // namespace
}  // namespace bootmark::contracts

// The profile contract against the portable emulation the rule tests use.
#include "contracts/profile_contract.h"
#include "fakes/fake_file_system.h"
#include "fakes/portable_profile_api.h"

namespace bootmark::contracts {
namespace {

class FakeEnv {
 public:
  FakeEnv() { fs_.AddDirectory(Folder()); }
  IProfileApi& Profile() { return profile_; }
  std::string Folder() const { return "C:\\ProgramData\\contract\\"; }
  void Put(const std::string& path, std::string_view bytes) { fs_.AddFile(path, bytes); }
  std::string Bytes(const std::string& path) const { return fs_.Content(path).value_or(""); }

 private:
  FakeFileSystem fs_;
  PortableProfileApi profile_{fs_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, ProfileContract, FakeEnv);

}  // namespace
}  // namespace bootmark::contracts

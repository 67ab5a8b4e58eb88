// The profile contract on the system's own private-profile functions.
#include "contracts/profile_contract.h"
#include "platform/win32/win32_profile_api.h"
#include "scratch_folder.h"

namespace bootmark::contracts {
namespace {

class Win32Env {
 public:
  IProfileApi& Profile() { return profile_; }
  std::string Folder() const { return folder_.Path(); }
  void Put(const std::string& path, std::string_view bytes) { win32::testing::WriteFileBytes(path, bytes); }
  std::string Bytes(const std::string& path) const { return win32::testing::FileBytes(path); }

 private:
  win32::testing::ScratchFolder folder_;
  win32::Win32ProfileApi profile_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ProfileContract, Win32Env);

}  // namespace bootmark::contracts

// The hold on a shared file: a named mutex whose name comes from the file's path.
#include <windows.h>

#include <sddl.h>

#include "base/md5.h"
#include "base/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"

namespace bootmark::win32 {
namespace {

// Every session and account: the suite's programs run as SYSTEM and as the user
// and share the files of the common data folder.
std::wstring SharedFileMutexName(std::string_view path) {
  return Wide("Global\\_Tarvo_Bootmark_File_" + Md5Hex(UpperCaseOrdinal(path)));
}

// Everyone may wait for and release the mutex, whichever account made it first.
constexpr wchar_t kEveryoneMayUse[] = L"D:(A;;0x1F0001;;;WD)";

class Win32SharedFileLock : public ISharedFileLock {
 public:
  explicit Win32SharedFileLock(UniqueHandle mutex) : mutex_(std::move(mutex)) {}
  ~Win32SharedFileLock() override { ::ReleaseMutex(mutex_.Get()); }

 private:
  UniqueHandle mutex_;
};

UniqueHandle CreateSharedMutex(const std::wstring& name) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ::ConvertStringSecurityDescriptorToSecurityDescriptorW(kEveryoneMayUse, SDDL_REVISION_1, &descriptor, nullptr);
  const UniqueLocal<PSECURITY_DESCRIPTOR> ownedDescriptor(descriptor);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  UniqueHandle mutex(::CreateMutexW(descriptor != nullptr ? &attributes : nullptr, FALSE, name.c_str()));
  // Made by another account without our descriptor: open it with what waiting needs.
  if (!mutex && ::GetLastError() == ERROR_ACCESS_DENIED) {
    mutex = UniqueHandle(::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
  }
  return mutex;
}

}  // namespace

std::unique_ptr<ISharedFileLock> Win32FileSystem::LockSharedFile(std::string_view path, std::uint32_t waitMs) {
  UniqueHandle mutex = CreateSharedMutex(SharedFileMutexName(path));
  if (!mutex) return nullptr;
  // An abandoned mutex (its holder died) is ours now; the file it guarded was
  // written in one step, so it is whole.
  const DWORD waited = ::WaitForSingleObject(mutex.Get(), waitMs);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return nullptr;
  return std::make_unique<Win32SharedFileLock>(std::move(mutex));
}

}  // namespace bootmark::win32

#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

namespace bootmark {

// A named mutex created with initial ownership. It is held for as long as the
// object lives; the program keeps it until the process ends.
class INamedMutex {
 public:
  virtual ~INamedMutex() = default;
  // True when the mutex existed before this process created it
  // (GetLastError was ERROR_ALREADY_EXISTS).
  virtual bool AlreadyExisted() const = 0;
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  virtual std::unique_ptr<INamedMutex> CreateOwnedMutex(std::string_view name) = 0;
  // Ends this process at once with the exit code (TerminateProcess on itself).
  [[noreturn]] virtual void TerminateSelf(std::uint32_t exitCode) = 0;
};

}  // namespace bootmark

#include "fakes/fake_system_ports.h"

namespace bootmark::testing {

bool FakeWow64::IsWow64Process(ProcessHandle process, bool& isWow64) {
  ++isWow64ProcessCalls;
  if (!currentProcessIsWow64) return false;  // no such function on this system
  if (process == kCurrentProcess) {
    isWow64 = *currentProcessIsWow64;
    return true;
  }
  const auto found = otherProcesses.find(process);
  if (found == otherProcesses.end()) return false;  // invalid handle
  isWow64 = found->second;
  return true;
}

bool FakeWow64::DisableRedirection(Wow64RedirectionValue& oldValue) {
  redirectionCalls.push_back("disable");
  if (!hasRedirectionFunctions) return false;
  oldValue = redirectionDisabled ? 1 : 0;
  redirectionDisabled = true;
  return true;
}

bool FakeWow64::RevertRedirection(Wow64RedirectionValue oldValue) {
  redirectionCalls.push_back("revert");
  if (!hasRedirectionFunctions) return false;
  redirectionDisabled = oldValue != 0;
  return true;
}

bool FakeDisplay::SetProcessDpiAware() {
  if (!hasSetProcessDpiAware) return false;
  calls.push_back("SetProcessDPIAware");
  dpiAware = true;
  return true;
}

bool FakeDisplay::SetProcessDpiAwareness(int value) {
  if (!hasSetProcessDpiAwareness) return false;
  calls.push_back("SetProcessDpiAwareness(" + std::to_string(value) + ")");
  awareness = value;
  return true;
}

}  // namespace bootmark::testing

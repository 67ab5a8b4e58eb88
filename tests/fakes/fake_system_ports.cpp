#include "fakes/fake_system_ports.h"

namespace bootmark::testing {

std::optional<bool> FakeWow64::IsWow64Process(ProcessHandle process) {
  if (!currentProcessIsWow64) return std::nullopt;  // no such function on this system
  if (process == kCurrentProcess) return *currentProcessIsWow64;
  const auto found = otherProcesses.find(process);
  if (found == otherProcesses.end()) return std::nullopt;  // invalid handle
  return found->second;
}

std::optional<Wow64RedirectionValue> FakeWow64::DisableRedirection() {
  redirectionCalls.push_back("disable");
  if (!hasRedirectionFunctions) return std::nullopt;
  const Wow64RedirectionValue oldValue = redirectionDisabled ? 1 : 0;
  redirectionDisabled = true;
  return oldValue;
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

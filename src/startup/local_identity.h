#pragma once
// The parts of startup item names that differ from one computer to the next: the
// local users' SIDs and names, the computer's name and its registered owner.
// Filled once when the scheduled-task reader starts and kept for the process.
#include <string>
#include <vector>

#include "common/system_info.h"
#include "platform/platform.h"

namespace bootmark {

struct LocalIdentity {
  // SID texts and names of the local user accounts that have a profile and an
  // ordinary privilege level, each list sorted longest first so that a longer
  // entry is replaced before a shorter one it contains.
  std::vector<std::string> UserSids;
  std::vector<std::string> UserNames;
  // The NetBIOS name of the computer.
  std::string ComputerName;
  // "RegisteredOwner" of HKLM "Software\Microsoft\Windows NT\CurrentVersion",
  // in the 64-bit registry on 64-bit Windows.
  std::string RegisteredOwner;
};

// Lists the accounts and reads the names. What cannot be read stays empty.
LocalIdentity LoadLocalIdentity(const Platform& platform, SystemInfo& system);

// Sorts texts by length in UTF-16 units, longest first; equal lengths keep their order.
void SortLongestFirst(std::vector<std::string>& texts);

}  // namespace bootmark

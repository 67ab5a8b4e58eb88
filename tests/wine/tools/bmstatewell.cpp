// bmstatewell.dll: stands in for the suite's data-exchange library (copied as
// "Statewell.dll"). Its one export `Func` writes down what it was given and
// answers as a running suite would, or refuses as when no suite runs:
//
//   <own name>.reply.txt beside the library (UTF-8): present, its text is the
//     reply and the result is TRUE; missing, the result is FALSE and the reply
//     buffer is left alone.
//   <own name>.calls.txt beside the library: one UTF-8 line appended per call,
//     "<target>\t<data size in bytes>\t<capacity>\t<reply buffer preset>\t<data>",
//     where the preset is "empty" when the buffer held the empty text, else "set",
//     and the data size is "terminated" + the size when the size counts exactly the
//     text and its terminating zero, else "wrong" + the size.
#include "tool_files.h"

extern "C" BOOL WINAPI Func(const wchar_t* target, const wchar_t* data, DWORD dataBytes,
                                                  wchar_t* reply, DWORD* capacity) {
  const std::wstring dataText = data != nullptr ? data : L"";
  const DWORD expectedBytes = static_cast<DWORD>((dataText.size() + 1) * sizeof(wchar_t));
  std::string line = bmtool::Narrow(target != nullptr ? target : L"") + "\t";
  line += (dataBytes == expectedBytes ? "terminated" : "wrong") + std::to_string(dataBytes) + "\t";
  line += (capacity != nullptr ? std::to_string(*capacity) : std::string("null")) + "\t";
  line += std::string(reply != nullptr && reply[0] == L'\0' ? "empty" : "set") + "\t";
  line += bmtool::Narrow(dataText);
  bmtool::AppendLine(bmtool::ModuleStem(bmtool::ThisModule()) + L".calls.txt", line);

  std::string answer;
  if (!bmtool::ReadAll(bmtool::ModuleStem(bmtool::ThisModule()) + L".reply.txt", answer)) return FALSE;
  if (reply != nullptr && capacity != nullptr && *capacity > 0) {
    const std::wstring units = bmtool::Wide(answer).substr(0, *capacity - 1);
    units.copy(reply, units.size());
    reply[units.size()] = L'\0';
  }
  return TRUE;
}

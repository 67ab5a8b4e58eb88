// Arbitrary text as a record of the suite's startup manager: the field parser
// never crashes, and a field it gives back holds no "|".
// fuzz-max-len: 4096
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "startup/data_field.h"

using namespace bootmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const TDataField fields(text);
  for (const char* name : {"ItemType", "RegKeyName", "ItemHash", "RegCmdLine"}) {
    fuzz::Check(fields.Text(name).find('|') == std::string::npos);
    fields.Number(name);
  }
  return 0;
}

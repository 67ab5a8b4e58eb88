// Arbitrary text as a record of the suite's startup manager: the field parser
// never crashes, and a field it gives back holds no "|".
// fuzz-max-len: 4096
#include "fuzz/fuzz_target.h"
#include "startup/data_field.h"

BOOTMARK_FUZZ_TARGET(text) {
  const TDataField fields(text);
  for (const char* name : {"ItemType", "RegKeyName", "ItemHash", "RegCmdLine"}) {
    Check(fields.Text(name).find('|') == std::string::npos);
    fields.Number(name);
  }
}

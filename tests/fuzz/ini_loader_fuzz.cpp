// Arbitrary bytes as a settings file: loading must never crash or hang, a file
// that cannot be read is left alone, a file that loads must save and reload to the
// same bytes, and every key loaded reads in each form and is found again by its name.
// fuzz-max-len: 65536
#include <vector>

#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kInput = "C:\\Fuzz\\input.ini";
constexpr std::size_t kMaxSections = 32;
constexpr std::size_t kMaxKeys = 32;

BOOTMARK_FUZZ_TARGET(input) {
  FakeFileSystem fs;
  fs.AddFile(kInput, input);

  TSafeIniFile ini(fs, kInput);
  if (ini.LastError() != 0) {
    // Not readable as text: nothing loaded, and the file must stay as it was.
    Check(ini.ReadSections().empty());
    Check(ini.NoAutoSave());
    return;
  }

  // Round trip: save, reload, save again; both saves are the same bytes.
  ini.UpdateFile();
  Check(ini.LastError() == 0);
  const std::string saved = fs.Content(kInput).value_or("");
  {
    TSafeIniFile reloaded(fs, kInput);
    Check(reloaded.LastError() == 0);
    Check(reloaded.ReadSections() == ini.ReadSections());
    reloaded.UpdateFile();
    Check(fs.Content(kInput).value_or("") == saved);
  }

  // Reads of every kind on what was loaded.
  std::vector<std::string> sections = ini.ReadSections();
  if (sections.size() > kMaxSections) sections.resize(kMaxSections);
  for (const std::string& section : sections) {
    std::vector<std::string> keys = ini.ReadSection(section);
    if (keys.size() > kMaxKeys) keys.resize(kMaxKeys);
    for (const std::string& key : keys) {
      Check(ini.ValueExists(section, key));
      const std::string value = ini.ReadString(section, key, "");
      (void)ini.ReadInteger(section, key, 0);
      (void)ini.ReadBool(section, key, false);
      // A write under a loaded name is found again by that name.
      ini.WriteString(section, key, value + "!");
      Check(ini.ReadString(section, key, "") == value + "!");
    }
  }
}

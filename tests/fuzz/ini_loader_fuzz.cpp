// Arbitrary bytes as a settings file: loading must never crash or hang, a file
// that loads must save and reload to the same bytes, and the usual reads, writes
// and saves on the loaded content must keep working.
// fuzz-max-len: 65536
#include <vector>

#include "base/text.h"
#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kInput = "C:\\Fuzz\\input.ini";
constexpr const char* kFirstSave = "C:\\Fuzz\\first.ini";
constexpr const char* kSecondSave = "C:\\Fuzz\\second.ini";
constexpr std::size_t kMaxSections = 32;
constexpr std::size_t kMaxKeys = 32;

// Saves the object's content under `path` and returns the bytes written.
std::string SaveAs(FakeFileSystem& fs, const TSafeIniFile& source, const char* path) {
  TSafeIniFile copy(fs, path);
  copy.SetAppendOnly(true);
  std::vector<std::string> done;
  for (const std::string& section : source.ReadSections()) {
    // Reads see only the first of sections named alike: copy that one once.
    bool seen = false;
    for (const std::string& name : done) seen = seen || SameText(name, section);
    if (seen) continue;
    done.push_back(section);
    for (const std::string& line : source.ReadSectionValues(section)) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      copy.WriteString(section, line.substr(0, equals), line.substr(equals + 1));
    }
  }
  copy.UpdateFile();
  Check(copy.LastError() == 0);
  return fs.Content(path).value_or("");
}

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
      (void)ini.ReadDateTime(section, key, 0);
      try {
        (void)ini.ReadFloat(section, key, 0);
      } catch (const EConvertError&) {
      }
      // A write under a loaded name is found again by that name.
      ini.WriteString(section, key, value + "!");
      Check(ini.ReadString(section, key, "") == value + "!");
    }
  }

  // Writes, deletions and erasures mixed, then a save that must load again.
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::string& section = sections[i];
    switch (i % 4) {
      case 0:
        ini.WriteInteger(section, "fuzz-int", static_cast<std::int32_t>(i));
        Check(ini.ReadInteger(section, "fuzz-int", -1) == static_cast<std::int32_t>(i));
        break;
      case 1:
        ini.EraseSection(section);
        ini.WriteFloat(section, "fuzz-float", 1.5);
        Check(ini.ReadFloat(section, "fuzz-float", 0) == 1.5);
        break;
      case 2:
        for (const std::string& key : ini.ReadSection(section)) ini.DeleteKey(section, key);
        break;
      default:
        ini.SetAppendOnly(true);
        ini.WriteBool(section, "fuzz-bool", true);
        ini.SetAppendOnly(false);
        break;
    }
  }
  ini.UpdateFile();
  Check(ini.LastError() == 0);
  TSafeIniFile after(fs, kInput);
  Check(after.LastError() == 0);

  // The content also survives being copied key by key into another file.
  const std::string first = SaveAs(fs, after, kFirstSave);
  TSafeIniFile copied(fs, kFirstSave);
  Check(copied.LastError() == 0);
  Check(SaveAs(fs, copied, kSecondSave) == first);
}

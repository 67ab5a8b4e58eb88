#pragma once
// TSafeIniFile: a settings file held in memory. The whole file is read when the
// object is created and written back in one piece by UpdateFile (and by the
// destructor when something changed), so a reader never sees half a file and a
// failed write leaves the previous content whole.
//
// Also the value formats both INI classes share, and EConvertError.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "common/ini_hashed_string_list.h"
#include "platform/file_system.h"

namespace bootmark {

// A value that does not have the form its reader asked for.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Encoding of a new settings file: decides the byte order mark written into it
// when it is created. Existing files are read by their own byte order mark and
// always saved as UTF-16 LE.
enum class TextEncoding { None, Ansi, Utf8, Utf16LE, Utf16BE };

// Byte order mark of an encoding; empty for None and Ansi.
std::string_view ByteOrderMark(TextEncoding encoding);

// Encoding named by the byte order mark at the start of `bytes`: Utf16LE, Utf16BE,
// Utf8, or Ansi when there is none.
TextEncoding DetectEncoding(std::string_view bytes);
// Decodes a file's bytes by their byte order mark (ANSI code page without one)
// into UTF-8 text without the mark. False when the bytes are not valid in that
// encoding (odd UTF-16 byte count, unpaired surrogate, ill-formed UTF-8): such a
// file cannot be rewritten without losing what it held.
bool DecodeFileText(IFileSystem& files, std::string_view bytes, std::string& text);

// Transforms a whole file's bytes (for example to scramble or compress them);
// returns false when it cannot.
using StreamFilter = std::function<bool(const std::string& in, std::string& out)>;

// Value formats of settings files.
namespace ini_format {
// Decimal text; a leading "0x" (or "$") reads as hexadecimal. Text that is not a
// 32-bit integer gives the default.
std::int32_t ParseInteger(std::string_view text, std::int32_t defaultValue);
std::string FormatInteger(std::int32_t value);
// Written "1" / "0"; true when the text is an integer other than 0.
bool ParseBool(std::string_view text, bool defaultValue);
std::string FormatBool(bool value);
// "." as decimal separator whatever the locale; "," reads as ".". Empty text gives
// the default; anything else that is not a number throws EConvertError.
double ParseFloat(std::string_view text, double defaultValue);
std::string FormatFloat(double value);
// "mm/dd/yyyy hh:nn:ss:zzz". Empty or malformed text gives the default.
DateTime ParseDateTime(std::string_view text, DateTime defaultValue);
std::string FormatDateTime(DateTime value);
}  // namespace ini_format

class TSafeIniFile {
 public:
  // Binds the object to `fileName` and loads it. A file that does not exist is
  // created (with its folders) holding only the encoding's byte order mark. A
  // file that exists but cannot be read or decoded leaves the object empty with
  // LastError() set, and the destructor then never saves over it.
  // The object holds the file's shared lock (IFileSystem::LockSharedFile) from
  // before it loads until after its last save, so that two processes changing
  // the same file one after the other each see the other's change.
  TSafeIniFile(IFileSystem& files, std::string fileName, TextEncoding encoding = TextEncoding::None,
               StreamFilter loadFilter = {}, StreamFilter saveFilter = {});
  // An empty object bound to no file: UpdateFile and the destructor write nothing.
  explicit TSafeIniFile(IFileSystem& files);
  // Saves when modified, unless the file could not be read at creation. Never throws.
  ~TSafeIniFile();

  TSafeIniFile(const TSafeIniFile&) = delete;
  TSafeIniFile& operator=(const TSafeIniFile&) = delete;

  // Replaces the content with that of `fileName` (the binding does not change).
  // A missing file leaves the object empty with LastError() 0.
  void LoadFromFile(std::string_view fileName);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // Throws EConvertError when the value is present but not a number.
  double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;
  void WriteFloat(std::string_view section, std::string_view key, double value);
  DateTime ReadDateTime(std::string_view section, std::string_view key,
                        DateTime defaultValue) const;
  void WriteDateTime(std::string_view section, std::string_view key, DateTime value);

  // Keys of a section in file order (lines without "=" have none).
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Names of all sections in file order; a name that occurs twice is listed twice.
  std::vector<std::string> ReadSections() const;
  // All lines of a section ("key=value" and lines kept as they were).
  std::vector<std::string> ReadSectionValues(std::string_view section) const;
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  // Removes the first section of that name. Does not mark the object modified.
  void EraseSection(std::string_view section);
  // Removes the key's line; marks the object modified when there was one.
  void DeleteKey(std::string_view section, std::string_view key);
  // Removes all sections. Does not mark the object modified.
  void Clear();

  // Writes the whole file now (UTF-16 LE with byte order mark). Unbound objects
  // write nothing. A failure sets LastError() to 1 and leaves the file as it was.
  // A file that could not be read is first moved aside as "<name>.unreadable"
  // (replacing an older side copy); when that fails nothing is written.
  void UpdateFile();
  // Writes the whole content to `fileName` as UpdateFile writes its own file (the
  // binding does not change). A failure sets LastError() to 1 and leaves that
  // file as it was.
  void SaveToFile(std::string_view fileName);

  // In append-only mode WriteString appends its line without looking for an
  // existing key: for callers that know their keys are new.
  void SetAppendOnly(bool appendOnly) { appendOnly_ = appendOnly; }
  bool AppendOnly() const { return appendOnly_; }

  // 0 after a successful load; the system error of a failed load; 1 after a
  // failed save.
  std::uint32_t LastError() const { return lastError_; }
  bool Modified() const { return modified_; }
  // Set when the file could not be read at creation: the destructor will not save.
  bool NoAutoSave() const { return noAutoSave_; }
  const std::string& FileName() const { return fileName_; }
  TextEncoding Encoding() const { return encoding_; }

 private:
  struct Section {
    std::string name;
    TIniHashedStringList lines;
  };

  int FindSection(std::string_view name) const;
  int AddSection(std::string name);
  int SectionForWrite(std::string_view name);
  void RebuildSectionIndex();
  void ResetCache();
  void Load(std::string_view fileName);
  // Reads and parses the file; sets LastError() when it cannot.
  void LoadContent(std::string_view fileName);
  void Parse(std::string_view text);
  bool Serialise(std::string& bytes) const;
  void WriteTo(std::string_view fileName);
  bool FindValue(std::string_view section, std::string_view key, std::string_view& value) const;
  // Renames the file at `path` to its side copy; false when it stays in place.
  bool MoveAside(const std::string& path);

  IFileSystem& files_;
  // Declared first of the file's state so that it is released last.
  std::unique_ptr<ISharedFileLock> sharedLock_;
  std::string fileName_;
  std::vector<Section> sections_;
  // Section positions by name (without regard to case).
  TextPositionIndex sectionIndex_;
  TextEncoding encoding_ = TextEncoding::None;
  // The section the last write went to: a write to the same name skips the lookup.
  std::string cacheName_;
  int cacheIndex_ = -1;
  bool modified_ = false;
  bool noAutoSave_ = false;
  bool appendOnly_ = false;
  // The bound file exists but its content is not in this object: a save moves it aside.
  bool unreadOnDisk_ = false;
  std::uint32_t lastError_ = 0;
  StreamFilter loadFilter_;
  StreamFilter saveFilter_;
};

}  // namespace bootmark

#pragma once
// The time-stamped file logs: TLogManage (one per log file) and its writer TLogObj.
//
// Lines are UTF-16 LE, each ending with CR LF; a new or emptied file starts with the
// byte order mark FF FE. A line gets the local time "yyyy-mm-dd hh:nn:ss.zzz" and two
// spaces in front. When the file has reached 5 MB, the next line first moves it to
// FileName + ".bak1" (replacing the older backup) and starts the file again. Every line
// opens and closes the file, so no log stays open between lines. A file that another process holds open for writing is never shared: the
// writer takes the next free numbered name instead ("TaskException_1.log", ...).
//
// Nothing here reports an error to the caller: a line that cannot be written is lost,
// and the operation that wanted to log goes on.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace bootmark {

inline constexpr std::int32_t kDefaultLogMaxSize = 5 * 1024 * 1024;
// Beside the program, this file switches on the detail lines of the trace log.
inline constexpr std::string_view kDetailLogSwitchFile = "detaillog.ldt";

// "yyyy-mm-dd hh:nn:ss.zzz" of a local time.
std::string FormatLogTimeStamp(DateTime time);

// `path` with its extension (from the last "." of the file name on) replaced by
// `extension`, or with `extension` appended when the name has none.
std::string ChangeFileExt(std::string_view path, std::string_view extension);

// One open log file.
class TLogObj {
 public:
  // Opens `fileName` for writing at its end, or, when it is empty, the program's path
  // (`moduleName`) with the extension ".log". When another writer holds that file
  // the next numbered name is tried ("name_1.log", "name_2.log", ...). A missing
  // file is created with its folders. Nullptr with `error` set when a missing file
  // cannot be created or no name can be opened.
  static std::unique_ptr<TLogObj> Create(IFileSystem& files, IClock& clock, std::string moduleName,
                                         std::string_view fileName, std::uint32_t& error);
  // Closes the file; a file that is still empty is deleted.
  ~TLogObj();

  TLogObj(const TLogObj&) = delete;
  TLogObj& operator=(const TLogObj&) = delete;

  // Writes one line (rotating the file first when it has reached 5 MB); a line
  // that cannot be written is lost.
  void WriteLine(std::string_view text);

  // The file actually written (a numbered name when the requested one was taken).
  const std::string& FileName() const { return fileName_; }

 private:
  TLogObj(IFileSystem& files, IClock& clock, std::string fileName, std::unique_ptr<IWriteFile> stream);
  // Moves the full file to ".bak1" and empties it. When the backup cannot be made
  // the file is left whole.
  void Rotate();

  IFileSystem& files_;
  IClock& clock_;
  std::string fileName_;
  std::unique_ptr<IWriteFile> stream_;
  std::int64_t size_ = 0;
};

// One log file. All writes of one manager are serialised; the file is opened and
// closed for every line.
class TLogManage {
 public:
  // `modulePath` is the program's full path: the default file name and the folder of
  // the detail switch derive from it.
  TLogManage(IFileSystem& files, IClock& clock, std::string modulePath);

  TLogManage(const TLogManage&) = delete;
  TLogManage& operator=(const TLogManage&) = delete;

  // The file to write; empty means the program's path with ".log".
  void SetFileName(std::string_view fileName);
  std::string FileName() const;

  // Writes one line. A detail line is only written when "detaillog.ldt" exists in
  // the program's folder. Never throws.
  void Write(std::string_view text, bool detail = false);

 private:
  IFileSystem& files_;
  IClock& clock_;
  std::string modulePath_;
  mutable std::mutex lock_;
  std::string fileName_;
};

}  // namespace bootmark

#include "common/log_manage.h"


#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"

namespace bootmark {
namespace {

constexpr std::string_view kUtf16Bom = "\xFF\xFE";
// Numbered names tried before giving up. Other instances of the program are the
// only expected holders, so a handful is plenty; the bound keeps a file that can
// never be opened (for a reason other than a writer) from looping for ever.
constexpr int kMaxNameAttempts = 100;

// The name for attempt n: the requested one, then "name_n.log".
std::string AttemptName(const std::string& requested, int attempt) {
  if (attempt == 0) return requested;
  return ChangeFileExt(requested, "_" + std::to_string(attempt) + ".log");
}

}  // namespace

std::string FormatLogTimeStamp(DateTime time) {
  return FormatLogDateTime(time, '.');
}

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
  const std::size_t nameStart = path.find_last_of("\\:");
  const std::size_t dot = path.rfind('.');
  const bool hasExtension =
      dot != std::string_view::npos && (nameStart == std::string_view::npos || dot > nameStart);
  std::string result(hasExtension ? path.substr(0, dot) : path);
  result += extension;
  return result;
}

// --- TLogObj ---------------------------------------------------------------------

TLogObj::TLogObj(IFileSystem& files, IClock& clock, std::string moduleName, std::string fileName,
                 std::unique_ptr<IWriteFile> stream)
    : files_(files),
      clock_(clock),
      moduleName_(std::move(moduleName)),
      fileName_(std::move(fileName)),
      stream_(std::move(stream)),
      size_(static_cast<std::int64_t>(stream_->Size())) {}

std::unique_ptr<TLogObj> TLogObj::Create(IFileSystem& files, IClock& clock, std::string moduleName,
                                         std::string_view fileName, std::uint32_t& error) {
  const std::string requested =
      fileName.empty() ? ChangeFileExt(moduleName, ".log") : std::string(fileName);
  error = 0;
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    const std::string name = AttemptName(requested, attempt);
    if (!files.FileExists(name)) {
      const std::string folder = ExtractFileDir(name);
      if (!folder.empty() && !files.DirectoryExists(folder)) ForceDirectories(files, folder);
      if (const Result<void> created = files.CreateIfMissing(name, ""); !created.ok()) {
        error = created.error();
        return nullptr;
      }
    }
    // Held by another writer (or refused for another reason): try the next name.
    Result<std::unique_ptr<IWriteFile>> stream = files.OpenForWriting(name);
    if (stream) {
      error = 0;
      return std::unique_ptr<TLogObj>(
          new TLogObj(files, clock, std::move(moduleName), name, std::move(stream).value()));
    }
    error = stream.error();
  }
  return nullptr;
}

TLogObj::~TLogObj() {
  try {
    const bool empty = stream_->Size() == 0;
    stream_.reset();  // the file must be closed before it can be deleted
    if (empty) files_.DeleteFile(fileName_);
  } catch (...) {
  }
}

std::int64_t TLogObj::Size() const {
  std::lock_guard<std::mutex> guard(lock_);
  return size_;
}

std::string TLogObj::BackupName(int number) const {
  return fileName_ + ".bak" + std::to_string(number);
}

bool TLogObj::Rotate() {
  const std::string oldest = BackupName(backupCount_);
  if (files_.FileExists(oldest)) files_.DeleteFile(oldest);
  for (int i = backupCount_ - 1; i >= 1; --i) {
    const std::string from = BackupName(i);
    if (files_.FileExists(from)) files_.MoveFile(from, BackupName(i + 1));
  }
  // The copy reads the file through a handle that shares it with our own writer:
  // the system's file copy may refuse a source that is open for writing. The
  // backup replaces an older one in one step.
  const Result<std::string> bytes = files_.ReadAll(fileName_);
  if (!bytes || !files_.ReplaceAll(BackupName(1), *bytes).ok()) return false;
  if (!stream_->Truncate()) return false;
  size_ = 0;
  return true;
}

bool TLogObj::WriteLine(std::string_view text) {
  std::lock_guard<std::mutex> guard(lock_);
  // Without a backup the full file is kept and the line appended: losing 5 MB
  // of log is worse than a log that grows on.
  if (size_ >= maxSize_) Rotate();

  std::string bytes;
  if (size_ == 0) bytes = kUtf16Bom;
  if (timeStamps_) {
    AppendUtf16(bytes, FormatLogTimeStamp(clock_.Now()));
    AppendUtf16(bytes, "  ");
  }
  AppendUtf16(bytes, text);
  AppendUtf16(bytes, "\r\n");
  if (!stream_->Append(bytes)) return false;
  size_ += static_cast<std::int64_t>(bytes.size());
  return true;
}

// --- TLogManage ------------------------------------------------------------------

TLogManage::TLogManage(IFileSystem& files, IClock& clock, std::string modulePath)
    : files_(files), clock_(clock), modulePath_(std::move(modulePath)) {}

TLogManage::~TLogManage() {
  std::lock_guard<std::mutex> guard(lock_);
  writer_.reset();
}

void TLogManage::SetFileName(std::string_view fileName) {
  std::lock_guard<std::mutex> guard(lock_);
  fileName_ = fileName;
  if (writer_ && !SameText(writer_->FileName(), fileName_)) writer_.reset();
}

std::string TLogManage::FileName() const {
  std::lock_guard<std::mutex> guard(lock_);
  return fileName_;
}

void TLogManage::SetCloseAfterWrite(bool closeAfterWrite) {
  std::lock_guard<std::mutex> guard(lock_);
  closeAfterWrite_ = closeAfterWrite;
}

void TLogManage::SetTimeStamps(bool timeStamps) {
  std::lock_guard<std::mutex> guard(lock_);
  timeStamps_ = timeStamps;
}

void TLogManage::SetMaxSize(std::int32_t maxSize) {
  std::lock_guard<std::mutex> guard(lock_);
  maxSize_ = maxSize;
}

void TLogManage::SetBackupCount(std::uint8_t backupCount) {
  std::lock_guard<std::mutex> guard(lock_);
  backupCount_ = backupCount;
}

std::string TLogManage::WriterFileName() const {
  std::lock_guard<std::mutex> guard(lock_);
  return writer_ ? writer_->FileName() : std::string();
}

void TLogManage::Write(std::string_view text, bool detail) {
  // A log line is never worth stopping the operation that writes it: nothing
  // here throws to the caller.
  try {
    if (detail && !files_.FileExists(ExtractFilePath(modulePath_) + std::string(kDetailLogSwitchFile))) {
      return;
    }
  } catch (...) {
    return;
  }
  std::lock_guard<std::mutex> guard(lock_);
  try {
    if (!writer_) {
      std::uint32_t error = 0;
      writer_ = TLogObj::Create(files_, clock_, modulePath_, fileName_, error);
      if (!writer_) return;
      writer_->SetBackupCount(backupCount_);
      writer_->SetTimeStamps(timeStamps_);
      writer_->SetMaxSize(maxSize_);
    }
    writer_->WriteLine(text);
  } catch (...) {
  }
  if (closeAfterWrite_) writer_.reset();
}

}  // namespace bootmark

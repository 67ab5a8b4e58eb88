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

TLogObj::TLogObj(IFileSystem& files, IClock& clock, std::string fileName, std::unique_ptr<IWriteFile> stream)
    : files_(files),
      clock_(clock),
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
      return std::unique_ptr<TLogObj>(new TLogObj(files, clock, name, std::move(stream).value()));
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

void TLogObj::Rotate() {
  const std::string backup = fileName_ + ".bak1";
  if (files_.FileExists(backup)) files_.DeleteFile(backup);
  // The copy reads the file through a handle that shares it with our own writer:
  // the system's file copy may refuse a source that is open for writing.
  const Result<std::string> bytes = files_.ReadAll(fileName_);
  if (!bytes || !files_.ReplaceAll(backup, *bytes).ok() || !stream_->Truncate()) return;
  size_ = 0;
}

void TLogObj::WriteLine(std::string_view text) {
  // Without a backup the full file is kept and the line appended: losing 5 MB
  // of log is worse than a log that grows on.
  if (size_ >= kDefaultLogMaxSize) Rotate();

  std::string bytes;
  if (size_ == 0) bytes = kUtf16Bom;
  AppendUtf16(bytes, FormatLogTimeStamp(clock_.Now()));
  AppendUtf16(bytes, "  ");
  AppendUtf16(bytes, text);
  AppendUtf16(bytes, "\r\n");
  if (stream_->Append(bytes)) size_ += static_cast<std::int64_t>(bytes.size());
}

// --- TLogManage ------------------------------------------------------------------

TLogManage::TLogManage(IFileSystem& files, IClock& clock, std::string modulePath)
    : files_(files), clock_(clock), modulePath_(std::move(modulePath)) {}

void TLogManage::SetFileName(std::string_view fileName) {
  std::lock_guard<std::mutex> guard(lock_);
  fileName_ = fileName;
}

std::string TLogManage::FileName() const {
  std::lock_guard<std::mutex> guard(lock_);
  return fileName_;
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
    std::uint32_t error = 0;
    // Opened for this line and closed after it.
    if (const std::unique_ptr<TLogObj> writer = TLogObj::Create(files_, clock_, modulePath_, fileName_, error)) {
      writer->WriteLine(text);
    }
  } catch (...) {
  }
}

}  // namespace bootmark

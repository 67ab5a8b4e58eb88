#include "alert/disable_rate_lookup.h"

#include <chrono>
#include <optional>

#include "alert/disable_rate.h"
#include "base/text.h"
#include "common/ansi_encoder.h"
#include "startup/startup_item_id.h"

namespace bootmark {
namespace {

constexpr auto kRequestPollInterval = std::chrono::milliseconds(10);
constexpr std::uint32_t kMainThreadWaitMs = 100;

// COM for the request thread itself: the identifier of a task item may ask the
// task scheduler, and COM set up on the main thread does not reach this one.
class ThreadCom {
 public:
  explicit ThreadCom(ITaskScheduler& tasks) : tasks_(tasks), initialized_(tasks.InitializeCom().initialized) {}
  ~ThreadCom() {
    if (initialized_) tasks_.UninitializeCom();
  }
  ThreadCom(const ThreadCom&) = delete;
  ThreadCom& operator=(const ThreadCom&) = delete;

 private:
  ITaskScheduler& tasks_;
  bool initialized_;
};

}  // namespace

// --- WorkerThread ------------------------------------------------------------------

WorkerThread::~WorkerThread() {
  if (thread_.joinable()) thread_.join();
}

void WorkerThread::Start(std::function<void()> body) {
  thread_ = std::thread([this, body = std::move(body)] {
    body();
    finished_.store(true, std::memory_order_release);
  });
}

// --- TPostDownloadProduct ----------------------------------------------------------

TPostDownloadProduct::TPostDownloadProduct(IHttpClient& http, IFileSystem& files, std::string url, std::string body,
                                           HttpRequestControl* control)
    : http_(http), files_(files), url_(std::move(url)), body_(std::move(body)), control_(control) {}

void TPostDownloadProduct::Execute() {
  try {
    const std::string bytes = AnsiEncoder(files_).Encode(body_);
    const std::optional<std::string> answer = http_.Post(url_, bytes, kMaxDisableRateAnswerBytes, control_);
    if (answer) response_ = Utf16ToUtf8(files_.DecodeAnsi(*answer));
  } catch (...) {
    // A failed request has no answer; nothing may leave the thread.
    response_.clear();
  }
}

// --- TGetOneStartupItemDisableRate ---------------------------------------------------

TGetOneStartupItemDisableRate::TGetOneStartupItemDisableRate(const Platform& platform, const ItemKeys& keys)
    : requestUrl(ReadDisableRateRequestUrl(platform.files, platform.environment)), platform_(platform), keys_(keys) {}

void TGetOneStartupItemDisableRate::Execute() {
  try {
    // Plain HTTP is refused for any other host than this machine: the answer
    // decides whether the user is alerted, so it must not be open to tampering.
    if (IsPermittedRequestUrl(requestUrl) && platform_.files.FileExists(exePath)) {
      const ThreadCom com(platform_.tasks);
      const std::string id =
          GetStartupItemId(keys_, platform_.files, platform_.versions, itemName, exePath, itemKind);
      TPostDownloadProduct post(platform_.http, platform_.files, requestUrl, DisableRateRequestBody(id), &control_);
      post.Start();
      while (!post.Finished()) std::this_thread::sleep_for(kRequestPollInterval);
      const std::string response = post.ResponseText();

      if (const std::optional<DisableRateAnswer> answer = ParseDisableRateAnswer(response)) {
        disableRate = answer->rate;
        recommendation = answer->recommendation;
        // Cached under the identifier that was asked about, whatever the answer
        // names: a server cannot place advice for other items.
        DisableRateAnswer asked = *answer;
        asked.id = id;
        StoreInCache(asked);
      }
    }
  } catch (...) {
    // Whatever failed, the item has no answer.
    disableRate.clear();
    recommendation = kRecommendUnknown;
  }
}

void TGetOneStartupItemDisableRate::StoreInCache(const DisableRateAnswer& answer) {
  try {
    StoreDisableRateAnswer(platform_.files, platform_.shell, answer);
  } catch (...) {
    // The cache is a convenience for later runs: the answer itself still counts.
  }
}

// --- the main thread's wait --------------------------------------------------------

void GetItemDisableRate(const Platform& platform, const ItemKeys& keys, std::string_view name,
                        std::string_view exePath, int kind, std::string& rate, int& recommendation) {
  TGetOneStartupItemDisableRate lookup(platform, keys);
  lookup.exePath = exePath;
  lookup.itemName = name;
  lookup.itemKind = kind;
  try {
    lookup.Start();
  } catch (...) {
    // No thread, no look-up: the item has no answer.
    rate.clear();
    recommendation = kRecommendUnknown;
    return;
  }
  // The request's own time-outs apply to each receive only; this one bounds the
  // whole look-up.
  const std::uint32_t deadlineMs = ReadDisableRateDeadlineMs(platform.files, platform.environment);
  const std::uint32_t started = platform.clock.TickCount();
  bool cancelled = false;
  while (!lookup.Finished()) {
    if (!cancelled && platform.clock.TickCount() - started >= deadlineMs) {
      lookup.Cancel();
      cancelled = true;
    }
    platform.desktop.ProcessMessages();
    platform.clock.Sleep(kMainThreadWaitMs);
  }
  rate = lookup.disableRate;
  recommendation = lookup.recommendation;
}

}  // namespace bootmark

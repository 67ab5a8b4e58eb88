#pragma once
// The online look-up of an item's disable rate: a request thread that builds the
// item's identifier and starts the HTTP request on a second thread, and the
// main thread's wait for it.
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "alert/disable_rate.h"
#include "platform/platform.h"
#include "startup/item_keys.h"

namespace bootmark {

// A thread that runs one body (which must not throw) and then says it has
// finished. Destroying it waits for the thread.
class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Throws std::system_error when no thread can be created.
  void Start(std::function<void()> body);
  bool Finished() const { return finished_.load(std::memory_order_acquire); }

 private:
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// One HTTP POST on a thread of its own. Created idle; Start runs it. The body is
// sent and the answer read in the system's ANSI code page. Fields are read only
// after Finished() is true; the destructor waits for the thread.
class TPostDownloadProduct {
 public:
  // `control` (may be null) lets another thread end the request.
  TPostDownloadProduct(IHttpClient& http, IFileSystem& files, std::string url, std::string body,
                       HttpRequestControl* control);

  void Start() { thread_.Start([this] { Execute(); }); }
  bool Finished() const { return thread_.Finished(); }
  // The whole answer; empty when the request failed.
  const std::string& ResponseText() const { return response_; }

 private:
  void Execute();

  IHttpClient& http_;
  IFileSystem& files_;
  std::string url_;
  std::string body_;
  HttpRequestControl* control_;
  std::string response_;
  // Last: destroyed, and so waited for, before the fields it uses.
  WorkerThread thread_;
};

// The look-up of one item on a thread of its own. Created idle (reading the
// request address); the caller sets the item's fields and calls Start. The results
// are read after Finished() is true; the destructor waits for the thread.
class TGetOneStartupItemDisableRate {
 public:
  TGetOneStartupItemDisableRate(const Platform& platform, const ItemKeys& keys);

  void Start() { thread_.Start([this] { Execute(); }); }
  bool Finished() const { return thread_.Finished(); }
  // Ends the request from another thread: the look-up then finishes at once
  // without an answer.
  void Cancel() { control_.Cancel(); }

  std::string requestUrl;
  std::string exePath;
  std::string itemName;
  int itemKind = 1;
  // Results: the rate as the server gave it and its advice; empty and -1 when
  // there is no answer.
  int recommendation = -1;
  std::string disableRate;

 private:
  void Execute();
  void StoreInCache(const DisableRateAnswer& answer);

  const Platform& platform_;
  const ItemKeys& keys_;
  HttpRequestControl control_;
  // Last: destroyed, and so waited for, before the fields it uses.
  WorkerThread thread_;
};

// Runs one look-up and waits for it on the calling (main) thread, letting its
// message queue run and sleeping 100 ms between checks. When the look-up's time
// limit ("RequestTimeout") has passed, the waiting thread cancels the request:
// a server that keeps sending a byte now and then cannot hold the run.
void GetItemDisableRate(const Platform& platform, const ItemKeys& keys, std::string_view name,
                        std::string_view exePath, int kind, std::string& rate, int& recommendation);

}  // namespace bootmark

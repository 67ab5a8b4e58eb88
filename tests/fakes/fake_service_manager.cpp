// The service list of FakeServices.
#include <algorithm>

#include "fakes/fake_task_scheduler.h"

namespace bootmark {
namespace {

class FakeServiceReader : public IServiceReader {
 public:
  explicit FakeServiceReader(const FakeService& service) : service_(service) {}
  std::optional<std::uint32_t> ConfigBytesNeeded() override {
    if (service_.queryFails) return std::nullopt;
    return service_.configBytes;
  }
  std::optional<ServiceConfig> QueryConfig(std::uint32_t bytes) override {
    if (service_.queryFails || bytes < service_.configBytes) return std::nullopt;
    return ServiceConfig{service_.startType, service_.binaryPath};
  }
  std::string Description() override { return service_.description; }

 private:
  const FakeService& service_;
};

class FakeServiceManager : public IServiceManager {
 public:
  explicit FakeServiceManager(FakeServices& owner) : owner_(owner) {}

  ServiceListBatch EnumServices(std::uint32_t& resumeHandle) override {
    ++owner_.enumCalls;
    ServiceListBatch batch;
    const std::size_t total = owner_.installed.size();
    const std::size_t first = std::min<std::size_t>(resumeHandle, total);
    if (owner_.enumError != 0) {
      batch.error = owner_.enumError;
      return batch;
    }
    const std::size_t count = owner_.entriesPerBatch == 0 ? total - first
                                                          : std::min(owner_.entriesPerBatch, total - first);
    for (std::size_t i = first; i < first + count; ++i) {
      batch.entries.push_back({owner_.installed[i].name, owner_.installed[i].displayName});
    }
    resumeHandle = static_cast<std::uint32_t>(first + count);
    batch.error = first + count < total ? kErrorMoreData : 0;
    return batch;
  }

  std::unique_ptr<IServiceReader> Open(std::string_view name) override {
    for (const FakeService& service : owner_.installed) {
      if (service.name == name) return service.openFails ? nullptr : std::make_unique<FakeServiceReader>(service);
    }
    return nullptr;
  }

 private:
  FakeServices& owner_;
};

}  // namespace

std::unique_ptr<IServiceManager> FakeServices::OpenManager() {
  if (managerRefused) return nullptr;
  return std::make_unique<FakeServiceManager>(*this);
}

}  // namespace bootmark

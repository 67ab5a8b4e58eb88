#include "fakes/fake_ports.h"

#include "base/text.h"

namespace bootmark::testing {

std::optional<std::string> FakeEnvironment::GetVariable(std::string_view name) {
  for (const auto& [key, value] : variables) {
    if (SameText(key, name)) return value;
  }
  return std::nullopt;
}

std::optional<std::string> FakeEnvironment::ExpandVariables(std::string_view text) {
  if (expansionFails) return std::nullopt;
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('%', at);
    const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(at, open - at));
    const std::optional<std::string> value = GetVariable(text.substr(open + 1, close - open - 1));
    if (value) {
      out += *value;
      at = close + 1;
    } else {
      // The closing mark may open the next name.
      out.append(text.substr(open, close - open));
      at = close;
    }
  }
  out.append(text.substr(at));
  return out;
}

namespace {

class FakeNamedMutex : public INamedMutex {
 public:
  explicit FakeNamedMutex(bool existed) : existed_(existed) {}
  bool AlreadyExisted() const override { return existed_; }

 private:
  bool existed_;
};

}  // namespace

std::unique_ptr<INamedMutex> FakeProcesses::CreateOwnedMutex(std::string_view name) {
  createdMutexes.emplace_back(name);
  // Mutex names are case-sensitive on Windows.
  const bool existed = !existingMutexes.insert(std::string(name)).second;
  return std::make_unique<FakeNamedMutex>(existed);
}

std::optional<Rect> FakeDesktop::WindowRect(WindowHandle window) {
  const std::optional<FakeWindow> found = Lookup(windows, window);
  return found ? std::optional<Rect>(found->rect) : std::nullopt;
}

std::string FakeDesktop::ClassName(WindowHandle window) {
  const std::optional<FakeWindow> found = Lookup(windows, window);
  return found ? found->className : std::string();
}

WindowHandle FakeDesktop::FindTopWindow(std::string_view className, std::string_view title) {
  ++findCalls;
  for (const auto& [handle, window] : windows) {
    // FindWindow compares class and title without regard to case.
    if (SameText(window.className, className) && SameText(window.title, title)) return handle;
  }
  return kNoWindow;
}

WindowHandle FakeDesktop::AddWindow(FakeWindow window) {
  const WindowHandle handle = nextHandle_;
  nextHandle_ += 0x10;
  windows.emplace(handle, std::move(window));
  return handle;
}

}  // namespace bootmark::testing

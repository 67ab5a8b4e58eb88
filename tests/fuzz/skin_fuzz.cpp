// Arbitrary "skin.ini" bytes: loading the skin and asking it for colours and
// images must never crash or hang, and every image file it names lies inside the
// skin folder (a skin cannot point the notice at another file of the disk).
// fuzz-max-len: 16384
#include "fakes/fake_file_system.h"
#include "fuzz/fuzz_target.h"
#include "ui/skin.h"

constexpr std::string_view kFolder = "C:\\Program Files\\Tarvo\\Kestrune\\skin\\classic\\";

void CheckImage(const Skin& skin, std::string_view image) {
  for (const ButtonState state : {ButtonState::Normal, ButtonState::Over, ButtonState::Down, ButtonState::Disabled}) {
    const std::string file = skin.ImageFile(image, state);
    if (file.empty()) continue;
    Check(file.starts_with(kFolder));
    Check(file.find("..") == std::string::npos && file.find(':', 2) == std::string::npos);
  }
}

BOOTMARK_FUZZ_TARGET(bytes) {
  FakeFileSystem files;
  files.AddFile(std::string(kFolder) + "skin.ini", bytes);
  const Skin skin = Skin::Load(files, std::string(kFolder));

  // Every line's name and value asked back as a colour and as an image.
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string_view line = std::string_view(bytes).substr(start, end - start);
    const std::size_t equals = line.find('=');
    const std::string_view name = line.substr(0, equals);
    skin.ResolveColour(name);
    CheckImage(skin, name);
    if (equals != std::string_view::npos) {
      ParseColourText(line.substr(equals + 1));
      CheckImage(skin, line.substr(equals + 1));
    }
    start = end + 1;
  }
}

#pragma once
// The suite's skin as the notices use it: colours and images by name. The skin
// named in "Main.ini" [Main] "Skin" is the folder ProgramDir + "skin\" + name,
// holding "skin.ini" and the image files it names (docs/SKIN.md). Whatever the
// skin does not name, the built-in skin supplies: colours from a table here,
// images drawn in code by the renderer.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "ui/form_model.h"

namespace bootmark {

class Skin {
 public:
  // The built-in skin alone.
  Skin() = default;
  // Reads `folder` + "skin.ini" ([Colors] name=colour, [Images] name=imgname=path).
  // A missing or unreadable file gives the built-in skin alone.
  static Skin Load(IFileSystem& files, std::string folder);
  // The same from the text of a "skin.ini" whose folder is `folder`.
  static Skin FromText(std::string_view iniText, std::string folder);

  // Whether a suite skin file was read.
  bool Present() const { return present_; }
  const std::string& Folder() const { return folder_; }

  // A colour text: a skin colour name (the suite skin's, then the built-in
  // skin's), "#RRGGBB", "$BBGGRR" or a decimal colour value. nullopt when empty
  // or unknown.
  std::optional<Colour> ResolveColour(std::string_view text) const;

  // The image file for a control's `image` in a button state: the suite skin's
  // entry for the name (with ".over", ".down", ".disabled" for those states,
  // falling back to the normal one), or for "imgname=path" that path in the skin
  // folder. Empty when the suite skin has no such image: the renderer then draws
  // the built-in one.
  std::string ImageFile(std::string_view image, ButtonState state = ButtonState::Normal) const;

 private:
  bool present_ = false;
  std::string folder_;
  std::map<std::string, Colour, std::less<>> colours_;
  std::map<std::string, std::string, std::less<>> images_;
};

// "#RRGGBB", "$BBGGRR" (Delphi hexadecimal) or a decimal colour value; nullopt
// for anything else.
std::optional<Colour> ParseColourText(std::string_view text);

// The name under which the built-in skin draws an image: the skin name itself,
// or for "imgname=images/icon_warning_small.png" the file's base name
// ("icon_warning_small").
std::string BuiltInImageName(std::string_view image);

// The skin folder of a skin name: ProgramDir + "skin\" + name + "\"; empty for an
// empty name and for one that leaves the skin folder (absolute, "..").
std::string SkinFolder(std::string_view programDir, std::string_view skinName);

}  // namespace bootmark

#pragma once
// GDI+ pieces the form window shares: fonts by their description (with the face fall-back),
// the string format of all text, and pictures loaded once per file.
#include <windows.h>
// GDI+ needs the COM stream and property types that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
// GDI+ needs min and max, which NOMINMAX removes from <windows.h>.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "ui/form_model.h"

namespace bootmark::win32 {

// The GDI+ font of a font description; never null while GDI+ runs (falls back to the generic
// sans-serif family).
const Gdiplus::Font& FontFor(const FontSpec& font);
// Typographic layout that counts trailing blanks: the measurer and the painter
// use the same one so that text lands where the layout put it.
const Gdiplus::StringFormat& TextFormat();
// The picture in a file, loaded once; nullptr when it cannot be read.
Gdiplus::Bitmap* PictureFile(const std::string& path);

}  // namespace bootmark::win32

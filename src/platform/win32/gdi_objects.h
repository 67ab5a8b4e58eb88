#pragma once
// Owners of GDI resources: device contexts, drawing objects and icons.
#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace bootmark::win32 {

namespace closers {
inline void ScreenDc(HDC dc) { ::ReleaseDC(nullptr, dc); }
inline void MemoryDc(HDC dc) { ::DeleteDC(dc); }
template <typename T>
void GdiObject(T object) {
  ::DeleteObject(object);
}
inline void Icon(HICON icon) { ::DestroyIcon(icon); }
}  // namespace closers

// The device context of the whole screen, from GetDC(nullptr).
using UniqueScreenDc = UniqueResource<HDC, closers::ScreenDc>;
// A device context made with CreateCompatibleDC.
using UniqueMemoryDc = UniqueResource<HDC, closers::MemoryDc>;
// A bitmap, brush, pen or font.
template <typename T>
using UniqueGdiObject = UniqueResource<T, closers::GdiObject<T>>;
using UniqueIcon = UniqueResource<HICON, closers::Icon>;

inline UniqueScreenDc ScreenDc() { return UniqueScreenDc(::GetDC(nullptr)); }

// Selects `object` into `dc` for one scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace bootmark::win32

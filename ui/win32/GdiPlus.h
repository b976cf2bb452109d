#pragma once
#include <windows.h>

#include <string>

#include "ui/win32/Gdi.h"

namespace pen::win32 {

// GDI+ for the lifetime of the object (the settings windows draw with it).
class TGdiPlus {
 public:
  TGdiPlus();
  ~TGdiPlus();
  TGdiPlus(const TGdiPlus&) = delete;
  TGdiPlus& operator=(const TGdiPlus&) = delete;
  bool Ok() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// A 32-bit top-down DIB section of that size; `bits` points at its pixels.
TBitmap CreateDib32(int width, int height, void** bits);

// A picture file (BMP, PNG, ...) as a 32-bit top-down DIB section; null
// when the file is missing or not a picture.
TBitmap LoadPicture(const std::string& fileName);

// `bitmap` as a PNG file. False when it cannot be written.
bool SavePng(HBITMAP bitmap, const std::string& fileName);

// What the screen shows of `window` (its whole rectangle), as a PNG file.
bool SaveWindowShot(HWND window, const std::string& fileName);

}  // namespace pen::win32

#include "ui/win32/GdiPlus.h"

#include <memory>
#include <vector>

#include "ui/win32/GdiPlusApi.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

namespace {

bool PngEncoder(CLSID& clsid) {
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<uint8_t> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

TGdiPlus::TGdiPlus() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

TGdiPlus::~TGdiPlus() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

TBitmap CreateDib32(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  *bits = nullptr;
  TBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0));
  if (!*bits) return {};
  return dib;
}

TBitmap LoadPicture(const std::string& fileName) {
  const std::wstring name = WidePath(fileName);
  std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromFile(name.c_str()));
  if (!picture || picture->GetLastStatus() != Gdiplus::Ok) return {};
  const int w = static_cast<int>(picture->GetWidth()), h = static_cast<int>(picture->GetHeight());
  if (w <= 0 || h <= 0) return {};
  void* bits = nullptr;
  TBitmap dib = CreateDib32(w, h, &bits);
  if (!dib) return {};
  const TMemoryDc dc;
  const TSelection use(dc, dib);
  Gdiplus::Graphics g(dc);
  g.DrawImage(picture.get(), 0, 0, w, h);
  return dib;
}

bool SavePng(HBITMAP bitmap, const std::string& fileName) {
  CLSID png{};
  if (!bitmap || !PngEncoder(png)) return false;
  Gdiplus::Bitmap picture(bitmap, nullptr);
  const std::wstring name = WidePath(fileName);
  return picture.Save(name.c_str(), &png, nullptr) == Gdiplus::Ok;
}

bool SaveWindowShot(HWND window, const std::string& fileName) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  const TWindowDc screen;
  const TBitmap shot(CreateCompatibleBitmap(screen, w, h));
  bool copied = false;
  {
    // Saved once it is out of the context again.
    const TMemoryDc dc(screen);
    const TSelection use(dc, shot);
    copied = BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT) != 0;
  }
  return copied && SavePng(shot, fileName);
}

}  // namespace pen::win32

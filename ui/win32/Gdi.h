#pragma once
#include <windows.h>

#include <utility>

namespace pen::win32 {

// A handle of ours, freed with its owner by `Free`. It converts to the
// handle, so that it goes straight into the calls; a temporary does not, as
// its handle would be freed at once.
template <class Handle, class Free>
class TOwned {
 public:
  TOwned() = default;
  explicit TOwned(Handle handle) : handle_(handle) {}
  ~TOwned() { Reset(); }
  TOwned(TOwned&& other) noexcept : handle_(other.Release()) {}
  TOwned& operator=(TOwned&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;

  operator Handle() const& { return handle_; }
  operator Handle() const&& = delete;
  Handle Get() const { return handle_; }
  // The handle is the caller's from now on.
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) Free{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct FreeGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
// Cursors we made (CreateIconIndirect); the system's shared ones are not ours.
struct FreeCursor {
  void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};

using TPen = TOwned<HPEN, FreeGdiObject>;
using TBrush = TOwned<HBRUSH, FreeGdiObject>;
using TFont = TOwned<HFONT, FreeGdiObject>;
using TBitmap = TOwned<HBITMAP, FreeGdiObject>;
using TCursor = TOwned<HCURSOR, FreeCursor>;

TBrush SolidBrush(COLORREF colour);
TPen SolidPen(COLORREF colour, int width = 1);
// The windows' typeface, `height` pixels high; `escapement` (tenths of a
// degree) turns the text, 900 runs it upwards.
TFont DialogFont(int height, int weight, int escapement = 0);

// A rectangle filled / framed (one pixel) in a colour.
void Fill(HDC dc, const RECT& r, COLORREF colour);
void Frame(HDC dc, const RECT& r, COLORREF colour);

// `object` selected into `dc` for the scope; the object it replaced goes
// back at the end, before the object itself may be deleted.
class TSelection {
 public:
  TSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelection() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory device context, deleted with its owner.
class TMemoryDc {
 public:
  explicit TMemoryDc(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~TMemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  TMemoryDc(const TMemoryDc&) = delete;
  TMemoryDc& operator=(const TMemoryDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// The device context of a window (null: the screen), released with its owner.
class TWindowDc {
 public:
  explicit TWindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A window's painting, from BeginPaint to EndPaint.
class TPaintDc {
 public:
  explicit TPaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~TPaintDc() { EndPaint(window_, &paint_); }
  TPaintDc(const TPaintDc&) = delete;
  TPaintDc& operator=(const TPaintDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A picture off screen: a memory device context with a bitmap of its own
// selected, both made compatible with `like` (null: the screen). The
// members go in reverse: selection undone, context deleted, bitmap deleted.
class TBitmapDc {
 public:
  TBitmapDc(HDC like, int width, int height);
  TBitmapDc(const TBitmapDc&) = delete;
  TBitmapDc& operator=(const TBitmapDc&) = delete;
  bool Ok() const { return dc_ && bitmap_; }
  operator HDC() const { return dc_; }

 private:
  TBitmap bitmap_;
  TMemoryDc dc_;
  TSelection selection_;
};

}  // namespace pen::win32

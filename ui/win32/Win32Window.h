#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace pen::win32 {

// One of our window classes. Unicode classes throughout: the procedures
// hand every message, texts included, to DefWindowProcW.
struct WindowClass {
  const wchar_t* name;
  UINT style = 0;            // CS_DBLCLKS, CS_HREDRAW | CS_VREDRAW, ...
  LPCSTR cursor = IDC_ARROW;  // a system cursor
};

// Registers `cls` with `proc` unless this program has already (a second
// window of the class, a second object): false only when the system refuses.
bool RegisterClassOnce(const WindowClass& cls, WNDPROC proc);

// The base of our top-level windows: it registers their classes, owns the
// window and routes its messages (and those of its owner-drawn children) to
// the virtual handlers below. The window does not erase its background:
// OnPaint and OnPaintChild paint every pixel. Closing it (Alt+F4, Esc, the
// system menu) calls OnClose and leaves the window: each of ours hides and
// is shown again. Shown, it saves a picture of itself when asked to.
class TWin32Window {
 public:
  struct Style {
    DWORD style = WS_POPUP;  // WS_POPUP alone: borderless, see DragWindow
    // WS_EX_TOPMOST, WS_EX_TOOLWINDOW, WS_EX_LAYERED (see SetAlpha),
    // WS_EX_NOACTIVATE (shown without taking the foreground).
    DWORD exStyle = 0;
    int width = 0;
    int height = 0;
    HWND owner = nullptr;  // no taskbar button of its own
  };
  // The timers of SetTimer(Window(), id, ...) with ids below this one are
  // the window's own (OnTimer).
  static constexpr UINT_PTR kFirstBaseTimer = 0x10000;

  TWin32Window() = default;
  virtual ~TWin32Window();
  TWin32Window(const TWin32Window&) = delete;
  TWin32Window& operator=(const TWin32Window&) = delete;

  HWND Window() const { return window_; }
  // Saves a picture of the window as PNG `ms` after it is next shown.
  void ScreenshotAfterShow(const std::string& pngFile, uint32_t ms);

 protected:
  // The window, hidden; false when it cannot be created.
  bool CreateWindowOf(const WindowClass& cls, const Style& style);
  // Destroys the window now. A derived window calls it first thing in its
  // destructor, so that the window goes before what it paints with and
  // none of its messages reaches a half-destroyed object.
  void Destroy();

  // A child control: one of the system's (L"STATIC", L"BUTTON", ...) or an
  // owner-drawn one of `RegisterChildClass`, whose messages come to
  // OnPaintChild and OnChildMessage. `parent` null: this window.
  HWND CreateChild(const wchar_t* cls, DWORD style, DWORD exStyle, int id, const RECT& box, HWND parent = nullptr,
                   const wchar_t* text = L"");
  static bool RegisterChildClass(const WindowClass& cls);

  // Shows the window centred on the screen, at `insertAfter` in the
  // z-order (HWND_TOP, HWND_TOPMOST), in the foreground unless it is a
  // WS_EX_NOACTIVATE window; the asked-for picture follows.
  void ShowCentred(HWND insertAfter);
  // Where ShowCentred puts a window of that size.
  static POINT CentredOrigin(int width, int height);
  // Modal use: the owner takes no input from BeginModal to EndModal; it is
  // enabled again before the window hides, so that it is the one activated.
  void BeginModal(HWND insertAfter);
  void EndModal();
  // A press on the background moves the borderless window: there is no
  // caption to hold.
  void DragWindow();
  void SetTitle(std::u16string_view title);
  // A WS_EX_LAYERED window, all of it at `alpha` (255: opaque).
  bool SetAlpha(BYTE alpha);

  virtual void OnPaint(HDC) {}
  virtual void OnPaintChild(int /*id*/, HWND /*child*/, HDC) {}
  virtual void OnTimer(UINT_PTR /*id*/) {}
  virtual void OnClose() {}
  // Enter, as the dialog keys send it.
  virtual void OnEnter() {}
  // Every other message; the defaults hand them to DefWindowProcW.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnChildMessage(int id, HWND child, UINT msg, WPARAM wp, LPARAM lp);

 private:
  static constexpr UINT_PTR kScreenshotTimer = kFirstBaseTimer;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleChild(HWND child, UINT msg, WPARAM wp, LPARAM lp);

  HWND window_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::string screenshotFile_;
  uint32_t screenshotMs_ = 0;
};

}  // namespace pen::win32

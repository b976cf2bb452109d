#include "pipeline/win32/Win32HidDevice.h"

#include "common/Rounding.h"

// The HID headers of the cross toolchain declare no C linkage of their own.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include "pipeline/win32/Win32MainThread.h"

namespace pen::win32 {

namespace {
// HidD_GetIndexedString takes at most 126 characters of a USB string; a larger
// buffer leaves room for the terminator.
constexpr size_t kStringChars = 254;
constexpr size_t kMaxFeature = 256;

std::wstring Widen(const std::string& s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.data(), n);
  w.resize(wcslen(w.c_str()));
  return w;
}
}  // namespace

TWin32HidDevice::TWin32HidDevice(std::string path, uint16_t vendorId, uint16_t productId, uint16_t version,
                                 HWND mainWindow, const std::atomic<bool>& direct)
    : path_(std::move(path)),
      vendorId_(vendorId),
      productId_(productId),
      version_(version),
      mainWindow_(mainWindow),
      direct_(direct),
      stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TWin32HidDevice::~TWin32HidDevice() {
  Close();
  if (thread_) CloseHandle(thread_);
  if (stopEvent_) CloseHandle(stopEvent_);
}

bool TWin32HidDevice::Open() {
  if (handle_ != INVALID_HANDLE_VALUE) return true;
  handle_ = CreateFileW(Widen(path_).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  PHIDP_PREPARSED_DATA pp = nullptr;
  if (HidD_GetPreparsedData(handle_, &pp)) {
    HIDP_CAPS caps{};
    if (HidP_GetCaps(pp, &caps) == HIDP_STATUS_SUCCESS) {
      inputLength_ = caps.InputReportByteLength;
      featureLength_ = caps.FeatureReportByteLength;
    }
    HidD_FreePreparsedData(pp);
  }
  return true;
}

size_t TWin32HidDevice::InputReportLength() { return Open() ? inputLength_ : 0; }

void TWin32HidDevice::Close() {
  StopThread();
  {
    std::lock_guard<std::mutex> lock(handlerMutex_);
    handler_ = {};
  }
  // A read thread still inside its own handler keeps the handle until it ends.
  if (thread_ == nullptr && handle_ != INVALID_HANDLE_VALUE) {
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
}

bool TWin32HidDevice::SetFeature(const uint8_t* data, size_t size) {
  if (!data || size == 0 || size > kMaxFeature || !Open()) return false;
  // The class driver wants the device's full feature length; a shorter
  // report goes out padded with zeros rather than being refused.
  uint8_t buffer[kMaxFeature] = {};
  memcpy(buffer, data, size);
  size_t length = featureLength_ > size && featureLength_ <= kMaxFeature ? featureLength_ : size;
  return HidD_SetFeature(handle_, buffer, static_cast<ULONG>(length)) != FALSE;
}

std::string TWin32HidDevice::GetIndexedString(int index) {
  if (!Open()) return {};
  wchar_t wide[kStringChars] = {};
  if (!HidD_GetIndexedString(handle_, static_cast<ULONG>(index), wide, sizeof wide)) return {};
  wide[kStringChars - 1] = L'\0';
  char ansi[kStringChars * 2] = {};
  int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
  return n > 0 ? std::string(ansi) : std::string();
}

void TWin32HidDevice::SetDataHandler(DataHandler handler) {
  if (!handler) {
    StopThread();
    std::lock_guard<std::mutex> lock(handlerMutex_);
    handler_ = {};
    return;
  }
  {
    std::lock_guard<std::mutex> lock(handlerMutex_);
    handler_ = handler;
  }
  if (thread_ && !threadEnded_.load()) return;
  StopThread();  // a thread that ended by itself (device error) is cleaned up first
  if (!Open() || !stopEvent_) return;
  stopping_.store(false);
  threadEnded_.store(false);
  ResetEvent(stopEvent_);
  thread_ = CreateThread(nullptr, 0, &TWin32HidDevice::ReadThreadMain, this, CREATE_SUSPENDED, &threadId_);
  if (!thread_) return;
  // Reports must not queue up behind ordinary work.
  SetThreadPriority(thread_, THREAD_PRIORITY_TIME_CRITICAL);
  ResumeThread(thread_);
}

void TWin32HidDevice::StopThread() {
  if (!thread_) return;
  stopping_.store(true);
  SetEvent(stopEvent_);
  // Cleared from inside its own handler: the loop ends once the handler returns.
  if (GetCurrentThreadId() == threadId_) return;
  Win32MainThread::WaitForThreadServing(thread_);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI TWin32HidDevice::ReadThreadMain(void* self) {
  EnsureExtendedPrecision();
  static_cast<TWin32HidDevice*>(self)->ReadLoop();
  return 0;
}

void TWin32HidDevice::ReadLoop() {
  // One buffer per thread, sized by the device: nothing is allocated per report.
  std::vector<uint8_t> buffer(inputLength_ ? inputLength_ : 64);
  OVERLAPPED ov{};
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE waits[2] = {stopEvent_, ov.hEvent};
  while (ov.hEvent && !stopping_.load()) {
    ResetEvent(ov.hEvent);
    if (!ReadFile(handle_, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &ov) &&
        GetLastError() != ERROR_IO_PENDING)
      break;  // the device has gone
    DWORD w;
    do {
      w = WaitForMultipleObjectsEx(2, waits, FALSE, INFINITE, TRUE);
    } while (w == WAIT_IO_COMPLETION);
    DWORD n = 0;
    if (w != WAIT_OBJECT_0 + 1) {
      CancelIoEx(handle_, &ov);
      GetOverlappedResult(handle_, &ov, &n, TRUE);
      break;
    }
    if (!GetOverlappedResult(handle_, &ov, &n, FALSE)) break;
    if (n > 0 && !stopping_.load()) Deliver(buffer.data(), n);
  }
  if (ov.hEvent) CloseHandle(ov.hEvent);
  threadEnded_.store(true);
}

void TWin32HidDevice::Deliver(const uint8_t* report, size_t size) {
  if (direct_.load()) {
    DataHandler h;
    {
      std::lock_guard<std::mutex> lock(handlerMutex_);
      h = handler_;
    }
    h(report + skip_, size - skip_);
    return;
  }
  Handover handover{report, size};
  SendMessageW(mainWindow_, kDeliverMessage, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&handover));
}

void TWin32HidDevice::DeliverOnMainThread(const Handover& handover) {
  // A stop may be waiting for this very hand-over; it must not run the handler.
  if (stopping_.load() || handover.size == 0) return;
  DataHandler h;
  {
    std::lock_guard<std::mutex> lock(handlerMutex_);
    h = handler_;
  }
  h(handover.report + skip_, handover.size - skip_);
}

}  // namespace pen::win32

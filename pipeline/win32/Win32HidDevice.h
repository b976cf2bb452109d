#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "pipeline/HidDevice.h"

namespace pen::win32 {

// One HID collection, opened lazily. Its read thread runs at time-critical
// priority doing overlapped reads with an alertable wait; until direct
// delivery is on, each report is sent to the controller's window and waited for.
class TWin32HidDevice : public IHidDevice {
 public:
  static constexpr UINT kDeliverMessage = WM_APP + 0x52;

  TWin32HidDevice(std::string path, uint16_t vendorId, uint16_t productId, uint16_t version, HWND mainWindow,
                  const std::atomic<bool>& direct);
  ~TWin32HidDevice() override;
  TWin32HidDevice(const TWin32HidDevice&) = delete;
  TWin32HidDevice& operator=(const TWin32HidDevice&) = delete;

  const std::string& Path() const override { return path_; }
  uint16_t VendorId() const override { return vendorId_; }
  uint16_t ProductId() const override { return productId_; }
  uint16_t VersionNumber() const override { return version_; }
  bool SetFeature(const uint8_t* data, size_t size) override;
  std::string GetIndexedString(int index) override;
  void SetDataHandler(DataHandler handler) override;

  // Hands the handler whole reports, report ID included (the capture tool
  // keeps them as read). Set before the handler.
  void SetWholeReports(bool whole) { skip_ = whole ? 0 : 1; }

  // Stops the read thread and closes the handle (check-in, removal).
  void Close();
  // Input report length from the device's capabilities; 0 when unknown.
  size_t InputReportLength();
  // Opens the device for reading and writing; true when open.
  bool Open();
  bool ReadThreadRunning() const { return thread_ != nullptr && !threadEnded_.load(); }

  // A report on its way to the main thread; lives on the read thread's stack
  // while SendMessage waits.
  struct Handover {
    const uint8_t* report;
    size_t size;
  };
  // Main-thread half of the hand-over (the controller's window procedure).
  void DeliverOnMainThread(const Handover& handover);

  bool checkedOut = false;
  bool present = true;

 private:
  static DWORD WINAPI ReadThreadMain(void* self);
  void ReadLoop();
  void Deliver(const uint8_t* report, size_t size);
  void StopThread();

  std::string path_;
  uint16_t vendorId_, productId_, version_;
  HWND mainWindow_;
  const std::atomic<bool>& direct_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  size_t inputLength_ = 0;
  size_t featureLength_ = 0;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HANDLE stopEvent_ = nullptr;
  std::atomic<size_t> skip_{1};  // bytes before the data the handler sees
  std::atomic<bool> stopping_{false};
  std::atomic<bool> threadEnded_{false};
  std::mutex handlerMutex_;
  DataHandler handler_;
};

}  // namespace pen::win32

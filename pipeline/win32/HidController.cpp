#include "pipeline/win32/HidController.h"

#include <dbt.h>
// The HID headers of the cross toolchain declare no C linkage of their own.
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "pipeline/win32/Win32HidDevice.h"

namespace pen::win32 {

namespace {
constexpr wchar_t kClassName[] = L"PenHidController";

// Reports are handed over before the tablet has been found once; set for the
// whole process, as there is one HID layer per process.
std::atomic<bool> g_direct{false};

std::string Narrow(const wchar_t* w) {
  int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n - 1));
  return s;
}

// Every present HID collection with its attributes. A collection that cannot
// even be opened for a query (another program holds it exclusively) is left out.
std::vector<THidController::DeviceInfo> EnumerateHid() {
  std::vector<THidController::DeviceInfo> found;
  GUID hidGuid;
  HidD_GetHidGuid(&hidGuid);
  HDEVINFO set = SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return found;
  SP_DEVICE_INTERFACE_DATA itf{};
  itf.cbSize = sizeof itf;
  for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, i, &itf); ++i) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &itf, nullptr, 0, &needed, nullptr);
    if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
    std::vector<uint8_t> raw(needed);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(raw.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(set, &itf, detail, needed, nullptr, nullptr)) continue;
    HANDLE h = CreateFileW(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    HIDD_ATTRIBUTES attr{};
    attr.Size = sizeof attr;
    if (HidD_GetAttributes(h, &attr)) {
      found.push_back({Narrow(detail->DevicePath), attr.VendorID, attr.ProductID, attr.VersionNumber});
    }
    CloseHandle(h);
  }
  SetupDiDestroyDeviceInfoList(set);
  return found;
}
}  // namespace

THidController::THidController() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &THidController::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // already registered by an earlier controller: fine
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    notify_ = RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  }
  Enumerate({});
}

THidController::~THidController() {
  if (notify_) UnregisterDeviceNotification(notify_);
  // Read threads may be waiting in a hand-over to this window: stop them
  // (serving those hand-overs) before the window goes.
  for (auto& d : devices_) d->Close();
  for (auto& d : gone_) d->Close();
  devices_.clear();
  gone_.clear();
  if (window_) DestroyWindow(window_);
  g_direct.store(false);
}

IHidDevice* THidController::CheckOut(uint16_t vendorId, std::string_view pathPart, uint16_t productId) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& d : devices_) {
    if (!d->checkedOut && d->VendorId() == vendorId && d->ProductId() == productId &&
        d->Path().find(pathPart) != std::string::npos) {
      d->checkedOut = true;
      return d.get();
    }
  }
  return nullptr;
}

void THidController::CheckIn(IHidDevice* device) {
  std::unique_ptr<TWin32HidDevice> dead;
  TWin32HidDevice* found = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& d : devices_) {
      if (d.get() == device) found = d.get();
    }
    auto it = std::find_if(gone_.begin(), gone_.end(), [&](auto& d) { return d.get() == device; });
    if (it != gone_.end()) {
      found = it->get();
      dead = std::move(*it);
      gone_.erase(it);
    }
    if (!found) return;
    found->checkedOut = false;
  }
  found->Close();
}

void THidController::SetChangeHandler(Event<> handler) {
  onChange_ = handler;
  onChange_();
}

void THidController::SetRemovalHandler(Event<IHidDevice*> handler) { onRemoval_ = handler; }

void THidController::SetDirectDelivery(bool direct) { g_direct.store(direct); }

bool THidController::DirectDelivery() const { return g_direct.load(); }

void THidController::Enumerate(const std::string& removedPath) {
  std::vector<DeviceInfo> now = EnumerateHid();
  std::vector<TWin32HidDevice*> removed;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::unique_ptr<TWin32HidDevice>> next;
    for (const DeviceInfo& info : now) {
      // The notice's path may differ from the enumerated one in case only.
      bool replaced = !removedPath.empty() && _stricmp(removedPath.c_str(), info.path.c_str()) == 0;
      auto it = std::find_if(devices_.begin(), devices_.end(),
                             [&](auto& d) { return d && !replaced && d->Path() == info.path; });
      if (it != devices_.end()) {
        next.push_back(std::move(*it));
      } else {
        next.push_back(std::make_unique<TWin32HidDevice>(info.path, info.vendorId, info.productId, info.version,
                                                         window_, g_direct));
      }
    }
    for (auto& d : devices_) {
      if (!d) continue;
      d->present = false;
      removed.push_back(d.get());
      // Kept until checked in: the device link still holds it.
      if (d->checkedOut) {
        gone_.push_back(std::move(d));
      } else {
        d->Close();
        retired_.push_back(std::move(d));
      }
    }
    devices_ = std::move(next);
  }
  for (TWin32HidDevice* d : removed) onRemoval_(d);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    retired_.clear();
  }
}

void THidController::Rescan(const std::string& removedPath) {
  Enumerate(removedPath);
  onChange_();
}

std::vector<THidController::DeviceInfo> THidController::Devices() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<DeviceInfo> out;
  for (auto& d : devices_) out.push_back({d->Path(), d->VendorId(), d->ProductId(), d->VersionNumber()});
  return out;
}

LRESULT CALLBACK THidController::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<THidController*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == TWin32HidDevice::kDeliverMessage) {
    reinterpret_cast<TWin32HidDevice*>(wp)->DeliverOnMainThread(
        *reinterpret_cast<const TWin32HidDevice::Handover*>(lp));
    return 0;
  }
  if (msg == WM_DEVICECHANGE && self &&
      (wp == DBT_DEVICEARRIVAL || wp == DBT_DEVICEREMOVECOMPLETE || wp == DBT_DEVNODES_CHANGED)) {
    std::string removed;
    auto* hdr = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
    if (wp == DBT_DEVICEREMOVECOMPLETE && hdr && hdr->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
        hdr->dbch_size > offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) {
      // The name is terminated within dbch_size; copy no further than that.
      auto* itf = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lp);
      size_t maxChars = (hdr->dbch_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) / sizeof(wchar_t);
      std::wstring name(itf->dbcc_name, wcsnlen(itf->dbcc_name, maxChars));
      removed = Narrow(name.c_str());
    }
    self->Rescan(removed);
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pen::win32

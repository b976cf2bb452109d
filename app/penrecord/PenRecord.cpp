// penrecord: captures a pen session from a real tablet into the recording
// format that the virtual tablet plays back (docs/recording-format.md).
//
//   penrecord [-o FILE] [-t SECONDS]
//
// Records both interfaces until Ctrl+C or until SECONDS have passed, then
// writes FILE (standard output without -o). Plugging and pulling the tablet
// while recording are kept as plug and unplug lines.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "pipeline/TabletRecording.h"
#include "pipeline/win32/HidController.h"
#include "pipeline/win32/Win32HidDevice.h"

namespace {

constexpr uint16_t kVendorId = 0x08F2;
constexpr uint16_t kProductId = 0x6811;
constexpr char kPathA[] = "mi_02&col01";
constexpr char kPathB[] = "mi_01&col01";

std::atomic<bool> g_stop{false};

BOOL WINAPI OnConsoleCtrl(DWORD) {
  g_stop = true;
  return TRUE;
}

class Recorder {
 public:
  explicit Recorder(pen::win32::THidController& hid) : hid_(hid), last_(Clock::now()) {}

  void OnChange() {
    bool wasOpen = a_ || b_;
    if (!a_) {
      a_ = hid_.CheckOut(kVendorId, kPathA, kProductId);
      if (a_) {
        std::lock_guard<std::mutex> lock(mutex_);
        rec.identity.version = a_->VersionNumber();
        std::string product = a_->GetIndexedString(2);
        if (!product.empty()) rec.identity.product = product;
        seen = true;
      }
    }
    if (!b_) b_ = hid_.CheckOut(kVendorId, kPathB, kProductId);
    if (!wasOpen && (a_ || b_)) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (started_) {
        rec.AddPlug(Elapsed());
      } else {
        rec.startUnplugged = false;
      }
      std::fprintf(stderr, "penrecord: tablet found, version %04X, \"%s\"\n", rec.identity.version,
                   rec.identity.product.c_str());
    }
    // Handlers after the plug line, so no report precedes it. The devices
    // come from the Win32 controller; whole reports keep their IDs.
    if (a_) {
      static_cast<pen::win32::TWin32HidDevice*>(a_)->SetWholeReports(true);
      a_->SetDataHandler(pen::IHidDevice::DataHandler::Bind<&Recorder::OnA>(this));
    }
    if (b_) {
      static_cast<pen::win32::TWin32HidDevice*>(b_)->SetWholeReports(true);
      b_->SetDataHandler(pen::IHidDevice::DataHandler::Bind<&Recorder::OnB>(this));
    }
  }

  void OnRemoval(pen::IHidDevice* d) {
    if (d != a_ && d != b_) return;
    hid_.CheckIn(d);
    (d == a_ ? a_ : b_) = nullptr;
    if (!a_ && !b_) {
      std::lock_guard<std::mutex> lock(mutex_);
      rec.AddUnplug(Elapsed());
      std::fprintf(stderr, "penrecord: tablet removed\n");
    }
  }

  void Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!a_ && !b_) rec.startUnplugged = true;
    started_ = true;
    last_ = Clock::now();
  }

  void Close() {
    for (pen::IHidDevice** d : {&a_, &b_}) {
      if (*d) hid_.CheckIn(*d);
      *d = nullptr;
    }
  }

  std::mutex mutex_;
  pen::TTabletRecording rec;
  bool seen = false;
  size_t reports = 0;

 private:
  using Clock = std::chrono::steady_clock;

  void OnA(const uint8_t* report, size_t size) { Add(pen::TabletInterface::A, report, size); }
  void OnB(const uint8_t* report, size_t size) { Add(pen::TabletInterface::B, report, size); }

  void Add(pen::TabletInterface iface, const uint8_t* report, size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!started_ || size == 0) return;
    // Longer reports are cut to what a recording line holds.
    rec.AddReport(Elapsed(), iface, report, size);
    ++reports;
  }

  uint32_t Elapsed() {
    auto now = Clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - last_).count();
    // Keep the remainder so that rounding never drifts over a long session.
    last_ += std::chrono::milliseconds(ms);
    return static_cast<uint32_t>(ms);
  }

  pen::win32::THidController& hid_;
  pen::IHidDevice* a_ = nullptr;
  pen::IHidDevice* b_ = nullptr;
  bool started_ = false;
  Clock::time_point last_;
};

int Usage() {
  std::fprintf(stderr, "usage: penrecord [-o FILE] [-t SECONDS]\n");
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  double seconds = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-o" && i + 1 < argc) {
      out = argv[++i];
    } else if (a == "-t" && i + 1 < argc) {
      char* end = nullptr;
      seconds = std::strtod(argv[++i], &end);
      if (!end || *end || seconds < 0) return Usage();
    } else {
      return Usage();
    }
  }

  pen::win32::THidController hid;
  Recorder recorder(hid);
  hid.SetRemovalHandler(pen::Event<pen::IHidDevice*>::Bind<&Recorder::OnRemoval>(&recorder));
  hid.SetChangeHandler(pen::Event<>::Bind<&Recorder::OnChange>(&recorder));
  // Reports are stored under a lock on the read threads; nothing needs the main thread.
  hid.SetDirectDelivery(true);
  recorder.Start();
  if (!recorder.seen) std::fprintf(stderr, "penrecord: Tablet not found; waiting for it\n");
  SetConsoleCtrlHandler(&OnConsoleCtrl, TRUE);

  DWORD start = GetTickCount();
  while (!g_stop) {
    if (seconds > 0 && GetTickCount() - start >= static_cast<DWORD>(seconds * 1000)) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  recorder.Close();

  std::string text;
  {
    std::lock_guard<std::mutex> lock(recorder.mutex_);
    text = recorder.rec.Format();
    std::fprintf(stderr, "penrecord: %zu reports\n", recorder.reports);
  }
  if (out.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
  } else {
    FILE* f = std::fopen(out.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
      std::fprintf(stderr, "penrecord: cannot write %s\n", out.c_str());
      return 1;
    }
  }
  if (!recorder.seen) {
    std::fprintf(stderr, "penrecord: Tablet not found\n");
    return 2;
  }
  return 0;
}

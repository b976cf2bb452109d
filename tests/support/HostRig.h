#pragma once
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "service/PenHostMain.h"
#include "service/HostMessages.h"
#include "support/FakeClock.h"
#include "support/FakeMessageLoop.h"

namespace pen::test {

// The service host's collaborators as fakes, and HostRig below, which owns
// one of each: every test, benchmark and fuzz target of the host starts
// from it.

// Records every feature report and memory access as a short line, in order.
class FakeDeviceLink : public IHostDeviceLink {
 public:
  std::vector<std::string> log;
  uint8_t mode = 1;
  AreaRecord area;
  uint8_t keyUsage = 29, keyModifiers = 1, rotation = 0;
  int16_t pressure = 0;
  uint16_t firmware = 0x2210;
  std::string model = "R711", product = "Tablet [R711]", capability = "00";
  // What device memory holds; ReadParameters copies it into the fields.
  int16_t memPressure = 0;
  uint8_t memKeyUsage = 29, memKeyModifiers = 1;
  bool connected = false;
  Event<bool> onConnect;
  ReportHandler penHandler, digitizerHandler;

  void SetReportMode(uint8_t m) override {
    mode = m;
    log.push_back("mode " + std::to_string(m));
  }
  uint8_t ReportMode() const override { return mode; }
  void SetArea(const AreaRecord& a) override {
    area = a;
    SetReportMode(mode);
  }
  void SetInkFlag(bool on) override { log.push_back(on ? "ink 1" : "ink 0"); }
  void SetLeftHand(bool on) override { log.push_back(on ? "left 1" : "left 0"); }
  void SendParameters() override { log.push_back("params " + std::to_string(pressure)); }
  void ReadParameters() override {
    pressure = memPressure;
    keyUsage = memKeyUsage;
    keyModifiers = memKeyModifiers;
    log.push_back("read");
    SendParameters();
  }
  void WriteParameters() override {
    memPressure = pressure;
    memKeyUsage = keyUsage;
    memKeyModifiers = keyModifiers;
    log.push_back("write rotation " + std::to_string(rotation));
  }
  void CloseInterfaces() override { log.push_back("close"); }
  uint8_t KeyUsage() const override { return keyUsage; }
  void SetKeyUsage(uint8_t v) override { keyUsage = v; }
  uint8_t KeyModifiers() const override { return keyModifiers; }
  void SetKeyModifiers(uint8_t v) override { keyModifiers = v; }
  int16_t PressureWord() const override { return pressure; }
  void SetPressureWord(int16_t v) override { pressure = v; }
  uint8_t Rotation() const override { return rotation; }
  void SetRotation(uint8_t v) override { rotation = v; }
  uint16_t FirmwareVersion() const override { return firmware; }
  std::string FirmwareVersionText() const override { return "2210"; }
  std::string ModelCode() const override { return model; }
  std::string ProductString() const override { return product; }
  std::string CapabilityText() const override { return capability; }
  void SetOnConnectChange(Event<bool> h) override {
    onConnect = h;
    if (h) h(connected);
  }
  void SetPenPacketHandler(ReportHandler h) override { penHandler = h; }
  void SetDigitizerHandler(ReportHandler h) override { digitizerHandler = h; }

  size_t Count(const std::string& prefix) const {
    size_t n = 0;
    for (const auto& l : log) n += l.rfind(prefix, 0) == 0;
    return n;
  }
};

class FakePointer : public IHostPointer {
 public:
  int32_t threshold = 1450, smoothing = 0;
  AreaRecord screen, tablet;
  int screenSets = 0, tabletSets = 0, refreshes = 0;
  bool leftHand = false, tilt = false;
  PointerResult next;  // what the next report leaves behind

  void SetThreshold(int32_t v) override { threshold = v; }
  void SetSmoothing(int32_t v) override { smoothing = v; }
  void SetArea(const AreaRecord& a) override {
    screen = a;
    ++screenSets;
  }
  void SetTabletArea(const AreaRecord& a) override {
    tablet = a;
    ++tabletSets;
  }
  void SetLeftHand(bool on) override { leftHand = on; }
  void SetTiltEnabled(bool on) override { tilt = on; }
  void RefreshScreenGeometry() override { ++refreshes; }
  bool ProcessReport(const uint8_t*, size_t size, PointerResult& out) override {
    if (size < 14) return false;
    out = next;
    return true;
  }
};

class FakeSmoothing : public IHostSmoothing {
 public:
  int restarts = 0, smoothed = 0;
  void FilterPacket(PenPacket&) override { ++smoothed; }
  void RequestRestart() override { ++restarts; }
};

// Validation resets everything when a rectangle is too small, as the file does.
class FakeSettings : public ISettingsStore {
 public:
  HostSettings values;
  int writes = 0;
  HostSettings written;
  HostSettings& Values() override { return values; }
  void Validate() override {
    auto bad = [](const MapRect& r) {
      return r.right > 4095 || r.right < r.left + 400 || r.bottom > 4095 || r.bottom < r.top + 400;
    };
    if (bad(values.screen) || bad(values.tablet)) values = HostSettings{};
  }
  void Write() override {
    ++writes;
    written = values;
  }
};

class FakeChannel : public ISharedChannel {
 public:
  std::vector<PenPacket> published;
  int areaSets = 0;
  bool clientInFront = false;
  std::vector<uintptr_t> selected;
  uintptr_t registered = 0;
  void SetArea(const AreaRecord&) override { ++areaSets; }
  void PublishPacket(const PenPacket& p) override { published.push_back(p); }
  bool SelectForegroundClient(uintptr_t w, uintptr_t) override {
    selected.push_back(w);
    return clientInFront;
  }
  void RegisterOwnWindow(uintptr_t w) override { registered = w; }
  // 0xC123 stands for one of the channel's registered messages.
  bool HandleChannelMessage(uint32_t msg, uint64_t, int64_t) override { return msg == 0xC123; }
  int closes = 0;
  void Close() override { ++closes; }
};

// Nothing watches the desktop, so the host falls back to the window that
// command 11 names; a test marks a change as the watch would.
class FakeForegroundWatch : public IForegroundWatch {
 public:
  uintptr_t RecordedForeground() const override { return 0; }
  uintptr_t RecordedPrevious() const override { return 0; }
  bool TakeForegroundChanged() override { return changed_.exchange(false, std::memory_order_relaxed); }
  void ClearForegroundChanged() override { changed_.store(false, std::memory_order_relaxed); }
  void Unhook() override {}
  void MarkChanged() { changed_.store(true, std::memory_order_relaxed); }
  bool ForegroundChanged() const { return changed_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> changed_{false};
};

class FakeButtons : public IButtonManager {
 public:
  std::vector<uint32_t> states;
  std::vector<std::string> calls;
  bool modified = false;
  void SetButtonState(uint32_t m) override { states.push_back(m); }
  void ReleaseHeldKey() override { calls.push_back("release"); }
  void SetModelCode(const std::string& c) override { calls.push_back("model " + c); }
  void LoadDefinitions() override { calls.push_back("load"); }
  void SaveDefinitions() override { calls.push_back("save"); }
  void ResetAllDefinitions() override { calls.push_back("reset"); }
  void SetSelfDefinedKey(uint8_t u, uint8_t m) override {
    calls.push_back("key " + std::to_string(u) + "/" + std::to_string(m));
  }
  bool Modified() const override { return modified; }
  IButtonDefinitions* DefinitionsStore() override { return nullptr; }
};

class FakeWheel : public IWheelOverlay {
 public:
  std::vector<std::pair<uint64_t, int64_t>> messages;
  int reloads = 0;
  void HandleMessage(uint64_t w, int64_t l) override { messages.emplace_back(w, l); }
  void RefreshFaces() override { ++reloads; }
};

// Keeps the values the host reads back and records what the host shows.
class FakeWindow : public ISettingsWindow {
 public:
  bool visible = false;
  uintptr_t handle = 0x5000;
  int shows = 0, refreshes = 0;
  bool tabletFound = false, pressureAdjustable = false;
  std::string firmware, model, serviceVersion;
  std::vector<int32_t> samples;

  bool InkMode() const override { return inkMode_; }
  void SetInkMode(bool on) override { inkMode_ = on; }
  MapRect ScreenMapRect() const override { return screen_; }
  void SetScreenMapRect(const MapRect& r) override { screen_ = r; }
  MapRect TabletMapRect() const override { return tablet_; }
  void SetTabletMapRect(const MapRect& r) override { tablet_ = r; }
  bool LeftHandChecked() const override { return leftHand_; }
  void SetLeftHandChecked(bool on) override { leftHand_ = on; }
  int32_t GetPressureLevel() const override { return pressure_; }
  void SetPressureLevel(int32_t v) override { pressure_ = v; }
  uint8_t KeyUsage() const override { return keyUsage_; }
  void SetSelfDefineKey(uint8_t usage) override { keyUsage_ = usage; }
  uint8_t KeyModifiers() const override { return keyModifiers_; }
  void SetSelfDefineModifiers(uint8_t m) override { keyModifiers_ = m; }
  void SetFirmwareVersion(const std::string& t) override { firmware = t; }
  void SetModelCode(const std::string& c) override { model = c; }
  void SetProductString(const std::string&) override {}
  void SetPressureAdjustable(bool on) override { pressureAdjustable = on; }
  void SetTabletFound(bool f) override { tabletFound = f; }
  void SetServiceVersion(const std::string& t) override { serviceVersion = t; }
  void SetServiceWindow(uintptr_t) override {}
  void SetButtonDefinitions(IButtonDefinitions*) override {}
  void SetRotation(uint8_t) override {}
  uintptr_t Handle() const override { return handle; }
  bool Visible() const override { return visible; }
  void Hide() override { visible = false; }
  void ShowWindowOrOpenKeyWindow() override {
    ++shows;
    visible = true;
  }
  void RefreshShown() override { ++refreshes; }
  void FeedPenSample(int32_t p, int8_t, int8_t) override { samples.push_back(p); }

 private:
  bool inkMode_ = true;
  MapRect screen_;
  MapRect tablet_;
  bool leftHand_ = false;
  int32_t pressure_ = 0;
  uint8_t keyUsage_ = 29;
  uint8_t keyModifiers_ = 1;
};

// The texts the host itself shows, by number.
class FakeTexts : public ILanguageTexts {
 public:
  std::string Text(int id) const override {
    switch (id) {
      case 2: return "Pen service";
      case 8: return "Settings";
      case 9: return "Stop";
      case 20: return "Attention";
      case 21: return "Stop the service?";
      default: return "text " + std::to_string(id);
    }
  }
};

class FakeTray : public ITrayIcon {
 public:
  bool enabled = false, shellAccepts = true;
  int index = 1, enableAttempts = 0;
  std::string hint;
  bool Enabled() const override { return enabled; }
  bool Enable() override {
    ++enableAttempts;
    enabled = shellAccepts;
    return enabled;
  }
  int Index() const override { return index; }
  void SetIndex(int i) override { index = i; }
  void SetTexts(const std::string& h, const std::string&, const std::string&) override { hint = h; }
};

class FakeShell : public IHostShell {
 public:
  struct Posted {
    uint32_t msg;
    uint64_t wparam;
    int64_t lparam;
  };
  std::vector<Posted> posted;
  int quits = 0;
  bool confirm = true;
  std::string confirmCaption;
  bool displayTimer = false, trayTimer = true, settled = true;
  // When both are set, what is posted also waits in the loop and reaches the
  // host's window procedure when messages run, as on the real window.
  FakeMessageLoop* loop = nullptr;
  TPenHostMain* host = nullptr;

  uintptr_t OwnWindow() const override { return 0x1234; }
  void PostToSelf(uint32_t m, uint64_t w, int64_t l) override {
    posted.push_back({m, w, l});
    if (loop && host) {
      loop->Post([this, m, w, l] {
        intptr_t result = 0;
        host->HandleMessage(m, w, l, result);
      });
    }
  }
  void PostQuit() override {
    ++quits;
    if (loop) loop->PostQuit();
  }
  bool ConfirmStop(const std::string& caption, const std::string&) override {
    confirmCaption = caption;
    return confirm;
  }
  void StartDisplayChangeTimer() override { displayTimer = true; }
  void StopDisplayChangeTimer() override { displayTimer = false; }
  bool MonitorsSettled() override { return settled; }
  void StartTrayTimer() override { trayTimer = true; }
  void StopTrayTimer() override { trayTimer = false; }
};

// One fake of each collaborator, and the host's parts made of them. A test
// that drives a real object in some place names it in Parts; the fake of
// that place then stays unused. The clock is a message loop unless the test
// asks for a plain fake clock.
template <class Clock = FakeMessageLoop>
struct HostRig {
  FakeSettings settings;
  FakeDeviceLink device;
  FakePointer pointer;
  FakeSmoothing smoothing;
  FakeChannel channel;
  FakeForegroundWatch foreground;
  FakeButtons buttons;
  FakeWheel wheel;
  FakeWindow window;
  FakeTexts texts;
  FakeTray tray;
  FakeShell shell;
  Clock clock;

  // Real objects instead of the fakes; null keeps the fake. `window` left
  // empty keeps the fake window, set to nullptr the host has none.
  struct Instead {
    IHostDeviceLink* device = nullptr;
    IHostPointer* pointer = nullptr;
    IHostSmoothing* smoothing = nullptr;
    ISharedChannel* channel = nullptr;
    IForegroundWatch* foreground = nullptr;
    IButtonManager* buttons = nullptr;
    IWheelOverlay* wheel = nullptr;
    std::optional<ISettingsWindow*> window = std::nullopt;
    ILanguageTexts* texts = nullptr;
    IHostShell* shell = nullptr;
    IClock* clock = nullptr;
    IHostTrace* trace = nullptr;
  };

  HostParts Parts() { return Parts(Instead{}); }
  HostParts Parts(const Instead& real) {
    return HostParts{settings,
                     real.device ? *real.device : device,
                     real.pointer ? *real.pointer : pointer,
                     real.smoothing ? *real.smoothing : smoothing,
                     real.channel ? *real.channel : channel,
                     real.foreground ? *real.foreground : foreground,
                     real.buttons ? *real.buttons : buttons,
                     real.wheel ? *real.wheel : wheel,
                     real.window.value_or(&window),
                     real.texts ? *real.texts : texts,
                     tray,
                     real.shell ? *real.shell : shell,
                     real.clock ? *real.clock : clock,
                     real.trace};
  }
};

}  // namespace pen::test

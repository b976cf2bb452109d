#include "service/PenHostMain.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "keys/WheelMessages.h"
#include "pipeline/HookSysEvent.h"
#include "pipeline/ReportFormat.h"
#include "service/HostMessages.h"

namespace pen {

static_assert(host_msg::kWheelUi == wheel_message::kWheelUi && wheel_ui::kCentreButton == wheel_message::kCentreButton &&
                  wheel_ui::kStep == wheel_message::kStep,
              "the host and the wheel code must agree on WM_WHEELUI");
static_assert(TMyHook::kServiceCommandMessage == host_msg::kServiceCommand &&
                  TMyHook::kForegroundCommand == host_cmd::kForegroundChange,
              "the foreground watch names the host's command 11");

namespace {

constexpr uint8_t kModeStopped = 0;
constexpr uint8_t kModeBasic = 1;
constexpr uint8_t kModeFull = 3;
constexpr uint16_t kTiltFirmware = 0x2201;
constexpr int32_t kPressureLimit = 255;

AreaRecord AreaOf(const MapRect& r) { return AreaFromRect(r.left, r.top, r.right, r.bottom); }

// The memory's erased state reads as "no adjustment".
int32_t StoredPressure(int16_t word) { return word == -1 ? 0 : word; }

}  // namespace

TPenHostMain::TPenHostMain(const HostParts& parts) : p_(parts) {}

TPenHostMain::~TPenHostMain() {
  // The read threads must not call back into a host that is going away.
  p_.device.SetPenPacketHandler({});
  p_.device.SetDigitizerHandler({});
  p_.device.SetOnConnectChange({});
}

void TPenHostMain::Trace(const char* fmt, ...) const {
  if (!p_.trace) return;
  char line[160];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(line, sizeof line, fmt, args);
  va_end(args);
  p_.trace->Line(line);
}

void TPenHostMain::Start() {
  const HostSettings& s = p_.settings.Values();
  {
    std::lock_guard<std::mutex> lock(reportLock_);
    p_.pointer.SetLeftHand(s.leftHandMode == 1);
  }
  p_.device.SetLeftHand(s.leftHandMode == 1);
  started_ = true;
  p_.device.SetOnConnectChange(Event<bool>::Bind<&TPenHostMain::OnConnectChange>(this));
  p_.device.SetDigitizerHandler(IHostDeviceLink::ReportHandler::Bind<&TPenHostMain::OnDigitizerReport>(this));
  p_.device.SetPenPacketHandler(IHostDeviceLink::ReportHandler::Bind<&TPenHostMain::OnPenPacket>(this));
  {
    std::lock_guard<std::mutex> lock(reportLock_);
    p_.pointer.SetSmoothing(s.smoothness);
  }
  LoadLanguage();
}

bool TPenHostMain::HandleMessage(uint32_t msg, uint64_t wparam, int64_t lparam, intptr_t& result) {
  result = 0;
  if (msg == host_msg::kWheelUi) {
    p_.wheel.HandleMessage(wparam, lparam);
    // The centre button ends here; a wheel step goes on through the table.
    if (wparam == wheel_ui::kCentreButton) return true;
  }
  if (msg == host_msg::kDisplayChange) p_.shell.StartDisplayChangeTimer();
  if (!started_) return msg == host_msg::kWheelUi;

  switch (msg) {
    case host_msg::kWheelUi:
      return true;
    case host_msg::kSetRotation:
      SetRotation(wparam);
      return true;
    case host_msg::kServiceCommand:
      OnServiceCommand(lparam, wparam);
      return true;
    case host_msg::kShowSettings:
      if (!p_.tray.Enabled()) p_.tray.Enable();
      MenuShowClick();
      return true;
    case host_msg::kForegroundRecheck:
      UpdateModeForForeground();
      return true;
    case host_msg::kClose:
      p_.shell.PostQuit();
      return true;
    case host_msg::kQueryEndSession:
      p_.shell.PostQuit();
      result = 1;
      return true;
    case host_msg::kDestroy:
      ShutdownPipeline();
      p_.shell.PostQuit();
      return true;
    default:
      return p_.channel.HandleChannelMessage(msg, wparam, lparam);
  }
}

void TPenHostMain::OnServiceCommand(int64_t code, uint64_t wparam) {
  Trace("command %d (argument %d)", static_cast<int>(std::clamp<int64_t>(code, -1, 99)),
        static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(wparam))));
  switch (code) {
    case host_cmd::kApplySettings: ApplySettings(); break;
    case host_cmd::kPressure: SetPressure(wparam); break;
    case host_cmd::kLoadLanguage: LoadLanguage(); break;
    case host_cmd::kReportModeFull: p_.device.SetReportMode(kModeFull); break;
    case host_cmd::kScreenArea: ApplyScreenArea(); break;
    case host_cmd::kSaveDefinitions: p_.buttons.SaveDefinitions(); break;
    case host_cmd::kTabletArea: ApplyTabletArea(); break;
    case host_cmd::kLeftHand: SetLeftHand(wparam == 1); break;
    case host_cmd::kResetDefinitions: p_.buttons.ResetAllDefinitions(); break;
    case host_cmd::kReportModeForInk:
      p_.device.SetReportMode(p_.window && p_.window->InkMode() ? kModeFull : kModeBasic);
      break;
    case host_cmd::kForegroundChange: ForegroundChange(wparam); break;
    default: return;  // 2 and anything above 11 are not commands
  }
  Trace("command %d handled", static_cast<int>(code));
}

void TPenHostMain::SetPressure(uint64_t wparam) {
  // Sent as a signed value in the low 32 bits; anything outside the range
  // the settings window offers would leave the tip stuck up or down.
  const int32_t raw = static_cast<int32_t>(static_cast<uint32_t>(wparam));
  const int16_t value = static_cast<int16_t>(std::clamp(raw, -kPressureLimit, kPressureLimit));
  if (value == p_.device.PressureWord()) return;
  p_.device.SetPressureWord(value);
  {
    std::lock_guard<std::mutex> lock(reportLock_);
    p_.pointer.SetThreshold(value + kPressBase);
  }
  p_.device.SendParameters();
}

void TPenHostMain::SetRotation(uint64_t wparam) {
  uint8_t rotation = static_cast<uint8_t>(wparam & 0xFF);
  if (rotation > 3) rotation = 0;
  p_.device.SetRotation(rotation);
  p_.device.WriteParameters();
}

void TPenHostMain::ApplyScreenArea() {
  HostSettings& s = p_.settings.Values();
  if (p_.window) s.screen = p_.window->ScreenMapRect();
  p_.settings.Validate();
  const AreaRecord area = AreaOf(s.screen);
  p_.device.SetArea(area);
  p_.channel.SetArea(area);
  {
    std::lock_guard<std::mutex> lock(reportLock_);
    p_.pointer.SetArea(area);
  }
  if (p_.window) p_.window->SetScreenMapRect(s.screen);
}

void TPenHostMain::ApplyTabletArea() {
  HostSettings& s = p_.settings.Values();
  if (p_.window) s.tablet = p_.window->TabletMapRect();
  p_.settings.Validate();
  {
    std::lock_guard<std::mutex> lock(reportLock_);
    p_.pointer.SetTabletArea(AreaOf(s.tablet));
  }
  if (p_.window) p_.window->SetTabletMapRect(s.tablet);
}

void TPenHostMain::SetLeftHand(bool on) {
  p_.device.SetLeftHand(on);
  std::lock_guard<std::mutex> lock(reportLock_);
  p_.pointer.SetLeftHand(on);
}

void TPenHostMain::PushAreas() {
  const HostSettings& s = p_.settings.Values();
  const AreaRecord screen = AreaOf(s.screen);
  p_.device.SetArea(screen);
  p_.channel.SetArea(screen);
  std::lock_guard<std::mutex> lock(reportLock_);
  p_.pointer.SetArea(screen);
  p_.pointer.SetTabletArea(AreaOf(s.tablet));
}

void TPenHostMain::ApplySettings() {
  HostSettings& s = p_.settings.Values();
  if (p_.window) {
    s.inkMode = p_.window->InkMode() ? 1 : 0;
    s.screen = p_.window->ScreenMapRect();
    s.tablet = p_.window->TabletMapRect();
    s.leftHandMode = p_.window->LeftHandChecked() ? 1 : 0;
  }
  s.smoothness = 0;
  p_.settings.Validate();
  p_.settings.Write();
  PushAreas();

  p_.device.SetInkFlag(s.inkMode == 1);
  p_.device.SetLeftHand(s.leftHandMode == 1);
  {
    std::lock_guard<std::mutex> lock(reportLock_);
    p_.pointer.SetLeftHand(s.leftHandMode == 1);
    p_.pointer.SetSmoothing(s.smoothness);
  }

  p_.device.ReadParameters();
  const int32_t stored = StoredPressure(p_.device.PressureWord());
  // Without a window there is nothing new to apply to the device.
  const int32_t wanted = p_.window ? std::clamp(p_.window->GetPressureLevel(), -kPressureLimit, kPressureLimit)
                                   : stored;
  p_.device.SetPressureWord(static_cast<int16_t>(wanted));
  {
    std::lock_guard<std::mutex> lock(reportLock_);
    p_.pointer.SetThreshold(wanted + kPressBase);
  }
  p_.device.SendParameters();

  bool pending = wanted != stored;
  if (p_.window) {
    if (p_.window->KeyModifiers() != p_.device.KeyModifiers()) {
      p_.device.SetKeyModifiers(p_.window->KeyModifiers());
      pending = true;
    }
    if (p_.window->KeyUsage() != p_.device.KeyUsage()) {
      p_.device.SetKeyUsage(p_.window->KeyUsage());
      pending = true;
    }
  }
  if (pending) {
    p_.device.SendParameters();
    p_.device.WriteParameters();
  }
  p_.device.SetReportMode(p_.window && p_.window->InkMode() ? kModeFull : kModeBasic);
  p_.buttons.SetSelfDefinedKey(p_.device.KeyUsage(), p_.device.KeyModifiers());
  std::lock_guard<std::mutex> lock(reportLock_);
  p_.smoothing.RequestRestart();
}

void TPenHostMain::OnConnectChange(bool connected) {
  tabletConnected_.store(connected, std::memory_order_relaxed);
  if (!p_.tray.Enabled()) p_.tray.Enable();
  // Once per transition, and the transition counts from here, before anything
  // is sent: the device calls below wait with messages running, and a removal
  // or plug-in handled inside them is a transition of its own, not a repeat.
  // When one has run, it has brought tray, keys and window to its own state,
  // and this older one stops at its next step instead of overwriting that.
  if (connected == connectState_) return;
  connectState_ = connected;
  const uint32_t transition = ++transitions_;
  const auto superseded = [this, transition] { return transitions_ != transition; };
  const int index = connected ? 0 : 1;
  if (connected) {
    Trace("tablet connected: model %s, firmware %s, capability %s", p_.device.ModelCode().c_str(),
          p_.device.FirmwareVersionText().c_str(), p_.device.CapabilityText().c_str());
  } else {
    Trace("tablet disconnected");
  }

  const HostSettings& s = p_.settings.Values();
  if (connected) {
    if (s.inkMode != 0) {
      p_.device.SetReportMode(kModeFull);
    } else {
      UpdateModeForForeground();
    }
    if (superseded()) return;
    PushAreas();
    if (superseded()) return;
    {
      std::lock_guard<std::mutex> lock(reportLock_);
      p_.pointer.SetThreshold(p_.device.PressureWord() + kPressBase);
      p_.pointer.SetTiltEnabled(p_.device.FirmwareVersion() >= kTiltFirmware);
    }
    p_.buttons.SetSelfDefinedKey(p_.device.KeyUsage(), p_.device.KeyModifiers());
  } else {
    p_.buttons.ReleaseHeldKey();
  }
  p_.tray.SetIndex(index);
  if (connected) {
    p_.buttons.SetModelCode(p_.device.ModelCode());
    p_.buttons.LoadDefinitions();
    p_.device.SetInkFlag(s.inkMode == 1);
    if (superseded()) return;
  }
  if (ISettingsWindow* w = p_.window) {
    if (connected) {
      w->SetFirmwareVersion(p_.device.FirmwareVersionText());
      w->SetModelCode(p_.device.ModelCode());
      w->SetProductString(p_.device.ProductString());
      w->SetPressureAdjustable(p_.device.CapabilityText() == "00");
    } else {
      w->SetFirmwareVersion("0");
    }
    w->SetTabletFound(connected);
    w->SetServiceVersion(kServiceVersion);
    if (w->Visible()) w->RefreshShown();
  }
}

void TPenHostMain::OnPenPacket(const uint8_t* data, size_t size) {
  PenPacket packet;
  VendorKeyPacket keys;
  if (ReadVendorPenPacket(data, size, packet)) {
    std::lock_guard<std::mutex> lock(reportLock_);
    ++reportsA_;
    int32_t pressure = packet.Pressure();
    if (previousPressure_ > 0 && pressure != 0) pressure = (2 * previousPressure_ + pressure) / 3;
    previousPressure_ = pressure;
    if (pressure > 2040) pressure = 2048;
    packet.SetPressure(static_cast<uint16_t>(pressure));
    if (p_.window) p_.window->FeedPenSample(pressure, 0, 0);
    p_.smoothing.FilterPacket(packet);
    p_.channel.PublishPacket(packet);
    Trace("report A #%u: pen status %02X pressure %d", reportsA_, packet.Status(), pressure);
    if (IsHoverStatus(packet.Status()) && p_.foreground.TakeForegroundChanged()) {
      p_.shell.PostToSelf(host_msg::kForegroundRecheck, 0, 0);
    }
  } else if (DecodeVendorKeyPacket(data, size, keys)) {
    std::lock_guard<std::mutex> lock(reportLock_);
    ++reportsA_;
    if (keys.wheel != 0) p_.shell.PostToSelf(host_msg::kWheelUi, wheel_ui::kStep, keys.wheel);
    p_.buttons.SetButtonState(keys.mask);
    Trace("report A #%u: keys %04X wheel %d -> buttons %08X", reportsA_, keys.keyWord, keys.wheel, keys.mask);
  }
  // Anything else (status 0x80 with another byte 1, a packet too short for
  // what its status announces) changes nothing.
}

void TPenHostMain::OnDigitizerReport(const uint8_t* data, size_t size) {
  if (!data) return;
  std::lock_guard<std::mutex> lock(reportLock_);
  PointerResult r;
  if (!p_.pointer.ProcessReport(data, size, r)) return;
  ++reportsB_;
  if (p_.window) p_.window->FeedPenSample(r.pressure, r.tiltA, r.tiltB);
  p_.buttons.SetButtonState(r.buttonState);
  if (r.wheelStep != 0) {
    p_.shell.PostToSelf(host_msg::kWheelUi, wheel_ui::kStep, static_cast<uint8_t>(r.wheelStep));
  }
  p_.channel.PublishPacket(r.packet);
  Trace("report B #%u: status %02X x %u y %u pressure %d buttons %08X", reportsB_, r.packet.Status(),
        r.packet.X(), r.packet.Y(), r.pressure, r.buttonState);
  if (IsHoverStatus(r.packet.Status()) && p_.foreground.TakeForegroundChanged()) {
    p_.shell.PostToSelf(host_msg::kForegroundRecheck, 0, 0);
  }
}

void TPenHostMain::UpdateModeForForeground() {
  // The watch's record is the newest; until it has one (nothing in front at
  // start) the windows the last command 11 named stand in.
  uintptr_t foreground = p_.foreground.RecordedForeground();
  uintptr_t previous = p_.foreground.RecordedPrevious();
  if (foreground == 0) {
    foreground = currentForeground_;
    previous = previousForeground_;
  }
  const bool client = p_.channel.SelectForegroundClient(foreground, previous);
  p_.foreground.ClearForegroundChanged();
  if (p_.settings.Values().inkMode == 0) p_.device.SetReportMode(client ? kModeFull : kModeBasic);
}

void TPenHostMain::SendModeUnlessSent(uint8_t mode) {
  if (p_.device.ReportMode() != mode) p_.device.SetReportMode(mode);
}

void TPenHostMain::ForegroundChange(uint64_t wparam) {
  const uintptr_t recorded = p_.foreground.RecordedForeground();
  previousForeground_ = currentForeground_;
  currentForeground_ = recorded ? recorded : static_cast<uintptr_t>(wparam);
  UpdateModeForForeground();
  ISettingsWindow* w = p_.window;
  if (!w || !w->Visible()) return;
  if (w->InkMode()) {
    SendModeUnlessSent(kModeFull);
    return;
  }
  const uintptr_t own = w->Handle();
  if (own == currentForeground_) {
    if (own != previousForeground_) SendModeUnlessSent(kModeFull);
    return;
  }
  if (own == previousForeground_) p_.device.SetReportMode(kModeBasic);
}

void TPenHostMain::LoadSetting() {
  ISettingsWindow* w = p_.window;
  if (!w) return;
  p_.channel.RegisterOwnWindow(w->Handle());
  HostSettings& s = p_.settings.Values();
  if (s.smoothness > 3) s.smoothness = 1;
  w->SetLeftHandChecked(s.leftHandMode == 1);
  w->SetServiceWindow(p_.shell.OwnWindow());
  w->SetSelfDefineKey(p_.device.KeyUsage());
  w->SetSelfDefineModifiers(p_.device.KeyModifiers());
  w->SetPressureLevel(StoredPressure(p_.device.PressureWord()));
  w->SetServiceVersion(kServiceVersion);
  const bool connected = TabletConnected();
  w->SetFirmwareVersion(connected ? p_.device.FirmwareVersionText() : "0");
  w->SetModelCode(connected ? p_.device.ModelCode() : "");
  w->SetProductString(connected ? p_.device.ProductString() : "");
  w->SetInkMode(s.inkMode == 1);
  w->SetTabletFound(connected);
  w->SetScreenMapRect(s.screen);
  w->SetTabletMapRect(s.tablet);
}

void TPenHostMain::LoadLanguage() {
  p_.wheel.RefreshFaces();
  p_.tray.SetTexts(p_.texts.Text(2), p_.texts.Text(8), p_.texts.Text(9));
}

void TPenHostMain::MenuShowClick() {
  // The 200 ms wait below runs messages, and each request queued meanwhile (a
  // flood of WM_SHOWSETTINGS from another program, a second double-click)
  // would nest another show inside this one, down to the end of the stack.
  // The show under way answers them all.
  if (showing_) return;
  showing_ = true;
  struct EndOfShow {
    bool& showing;
    ~EndOfShow() { showing = false; }
  } endOfShow{showing_};
  Trace("show settings");
  LoadSetting();
  p_.device.SetReportMode(kModeFull);
  p_.clock.ProcessMessagesFor(200);
  if (ISettingsWindow* w = p_.window) {
    w->SetButtonDefinitions(p_.buttons.DefinitionsStore());
    w->SetTabletMapRect(p_.settings.Values().tablet);
    w->SetRotation(p_.device.Rotation());
    w->SetPressureAdjustable(p_.device.CapabilityText() == "00");
    w->ShowWindowOrOpenKeyWindow();
  }
}

void TPenHostMain::MenuStopserviceClick() {
  if (p_.window) p_.window->Hide();
  if (!p_.shell.ConfirmStop(p_.texts.Text(20), p_.texts.Text(21))) return;
  Trace("service stopped by the user");
  p_.device.SetReportMode(kModeStopped);
  p_.shell.PostQuit();
}

void TPenHostMain::ShutdownPipeline() {
  p_.device.CloseInterfaces();
  // No report presses anything any more: what the tablet still holds down
  // must not stay down after the program ends.
  p_.buttons.ReleaseHeldKey();
  // The read threads are gone: the channel can keep its clients for the
  // next start and let go of the block.
  p_.channel.Close();
  p_.foreground.Unhook();
  if (p_.buttons.Modified()) p_.buttons.SaveDefinitions();
}

void TPenHostMain::OnMonitorPowerChanged(TMonitorPower power) {
  if (power == TMonitorPower::PoOff) {
    monitorWasOff_ = true;
    return;
  }
  if (!monitorWasOff_) return;
  monitorWasOff_ = false;
  p_.device.SetReportMode(p_.device.ReportMode());
}

bool TPenHostMain::TrayIconTimerTick() {
  p_.shell.StopTrayTimer();
  if (p_.tray.Enabled()) return false;
  p_.shell.StartTrayTimer();
  p_.tray.Enable();
  return true;
}

bool TPenHostMain::DisplayChangeTimerTick() {
  if (!p_.shell.MonitorsSettled()) return true;
  p_.shell.StopDisplayChangeTimer();
  std::lock_guard<std::mutex> lock(reportLock_);
  p_.pointer.RefreshScreenGeometry();
  return false;
}

}  // namespace pen

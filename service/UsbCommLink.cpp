#include "service/UsbCommLink.h"

#include <cstdarg>
#include <cstdio>

namespace pen {

void TUsbCommLink::Trace(const char* fmt, ...) const {
  if (!trace_) return;
  char line[160];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(line, sizeof line, fmt, args);
  va_end(args);
  trace_->Line(line);
}

void TUsbCommLink::SetReportMode(uint8_t mode) {
  const AreaRecord& a = usb_.Area();
  Trace("send mode report: mode %u, area top %u left %u width %u height %u", mode, a.Top, a.Left, a.Width,
        a.Height);
  usb_.SetReportMode(mode);
}

void TUsbCommLink::SetArea(const AreaRecord& area) {
  Trace("send mode report: mode %u, new area top %u left %u width %u height %u", usb_.ReportMode, area.Top,
        area.Left, area.Width, area.Height);
  usb_.SetArea(area);
}

void TUsbCommLink::SetInkFlag(bool on) {
  usb_.SetInkFlag(on);
  Trace("send flags report: ink %u, left-hand %u", usb_.InkFlag(), usb_.LeftHandValue());
}

void TUsbCommLink::SetLeftHand(bool on) {
  usb_.SetLeftHand(on);
  Trace("send flags report: ink %u, left-hand %u", usb_.InkFlag(), usb_.LeftHandValue());
}

void TUsbCommLink::SendParameters() {
  Trace("send parameters report: key %u, modifiers %u, pressure %d", usb_.KeyUsage, usb_.KeyModifiers,
        usb_.Pressure());
  usb_.SendParameters();
}

void TUsbCommLink::ReadParameters() {
  const bool ok = usb_.ReadParameters();
  Trace("read device memory: %s", ok ? "ok" : "not reachable");
}

void TUsbCommLink::WriteParameters() {
  const bool ok = usb_.WriteParameters();
  Trace("write device memory: %s", ok ? "ok" : "failed");
}

}  // namespace pen

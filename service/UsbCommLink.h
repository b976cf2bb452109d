#pragma once
#include "pipeline/UsbComm.h"
#include "service/HostDeviceLink.h"
#include "service/HostShell.h"

namespace pen {

// The device link as the host sees it, with an optional account of every
// feature report and memory access it asks for.
class TUsbCommLink final : public IHostDeviceLink {
 public:
  TUsbCommLink(TUsbComm& usb, IHostTrace* trace) : usb_(usb), trace_(trace) {}

  void SetReportMode(uint8_t mode) override;
  uint8_t ReportMode() const override { return usb_.ReportMode; }
  void SetArea(const AreaRecord& screenArea) override;
  void SetInkFlag(bool on) override;
  void SetLeftHand(bool on) override;
  void SendParameters() override;
  void ReadParameters() override;
  void WriteParameters() override;
  void CloseInterfaces() override { usb_.CloseInterfaces(); }

  uint8_t KeyUsage() const override { return usb_.KeyUsage; }
  void SetKeyUsage(uint8_t v) override { usb_.KeyUsage = v; }
  uint8_t KeyModifiers() const override { return usb_.KeyModifiers; }
  void SetKeyModifiers(uint8_t v) override { usb_.KeyModifiers = v; }
  int16_t PressureWord() const override { return usb_.Pressure(); }
  void SetPressureWord(int16_t v) override { usb_.SetPressure(v); }
  uint8_t Rotation() const override { return usb_.Rotation; }
  void SetRotation(uint8_t v) override { usb_.Rotation = v; }

  uint16_t FirmwareVersion() const override { return usb_.FirmwareVersion; }
  std::string FirmwareVersionText() const override { return usb_.FirmwareVersionText; }
  std::string ModelCode() const override { return usb_.ModelCode; }
  std::string ProductString() const override { return usb_.ProductString; }
  std::string CapabilityText() const override { return usb_.CapabilityText; }

  void SetOnConnectChange(Event<bool> handler) override { usb_.SetOnConnectChange(handler); }
  void SetPenPacketHandler(ReportHandler handler) override { usb_.SetOnInterfaceAReport(handler); }
  void SetDigitizerHandler(ReportHandler handler) override { usb_.SetOnInterfaceBReport(handler); }

 private:
  void Trace(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
  TUsbComm& usb_;
  IHostTrace* trace_;
};

}  // namespace pen

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/Event.h"
#include "pipeline/AreaRecord.h"

namespace pen {

// What the host needs of the device link: the tablet's feature reports, its
// parameter memory and the device facts learned at each connection.
class IHostDeviceLink {
 public:
  virtual ~IHostDeviceLink() = default;

  virtual void SetReportMode(uint8_t mode) = 0;
  virtual uint8_t ReportMode() const = 0;
  virtual void SetArea(const AreaRecord& screenArea) = 0;  // re-sends the mode
  virtual void SetInkFlag(bool on) = 0;
  virtual void SetLeftHand(bool on) = 0;
  virtual void SendParameters() = 0;
  virtual void ReadParameters() = 0;
  virtual void WriteParameters() = 0;
  virtual void CloseInterfaces() = 0;

  virtual uint8_t KeyUsage() const = 0;
  virtual void SetKeyUsage(uint8_t v) = 0;
  virtual uint8_t KeyModifiers() const = 0;
  virtual void SetKeyModifiers(uint8_t v) = 0;
  virtual int16_t PressureWord() const = 0;
  virtual void SetPressureWord(int16_t v) = 0;
  virtual uint8_t Rotation() const = 0;
  virtual void SetRotation(uint8_t v) = 0;

  virtual uint16_t FirmwareVersion() const = 0;
  virtual std::string FirmwareVersionText() const = 0;
  virtual std::string ModelCode() const = 0;
  virtual std::string ProductString() const = 0;
  virtual std::string CapabilityText() const = 0;

  // Installing the connection handler calls it at once with the current state.
  virtual void SetOnConnectChange(Event<bool> handler) = 0;
  using ReportHandler = Event<const uint8_t*, size_t>;
  virtual void SetPenPacketHandler(ReportHandler handler) = 0;   // interface A
  virtual void SetDigitizerHandler(ReportHandler handler) = 0;   // interface B
};

}  // namespace pen

#pragma once
#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "common/Beeper.h"
#include "common/Clock.h"
#include "common/Event.h"
#include "pipeline/AreaRecord.h"
#include "pipeline/HidDevice.h"
#include "pipeline/PadLink.h"
#include "pipeline/ParameterBlock.h"
#include "pipeline/ReportLayout.h"

namespace pen {

// The service's only contact with the tablet: its two HID interfaces, the
// 8-byte feature reports, and the 64-byte parameter block in device memory.
//
// Everything except the report delivery runs on the main thread. Reports
// from interface A (vendor pen and key/wheel packets) and interface B
// (digitizer reports) arrive on the HID read threads once interface A has
// been found; the callbacks must be set before they are needed, and setting
// them while reports flow is safe.
//
// The host reads and writes the device parameters below directly; they are
// main-thread data.
class TUsbComm {
 public:
  static constexpr uint16_t kVendorId = 0x08F2;
  static constexpr uint16_t kProductId = 0x6811;
  static constexpr const char* kInterfaceAPath = "mi_02&col01";
  static constexpr const char* kInterfaceBPath = "mi_01&col01";
  static constexpr uint8_t kFeatureReportId = report_layout::kFeatureReportId;
  static constexpr size_t kFeatureReportSize = report_layout::kFeatureReportSize;

  using ReportHandler = Event<const uint8_t*, size_t>;
  using ConnectHandler = Event<bool>;

  // `padLink` may be null (the vendor library is missing): device memory is
  // then never reachable, reads keep the current values and nothing is
  // written. Installs the removal handler, then the change handler, so a
  // tablet already plugged in is opened here.
  TUsbComm(IHidController& hid, IPadLink* padLink, IClock& clock, IBeeper& beeper);
  ~TUsbComm();
  TUsbComm(const TUsbComm&) = delete;
  TUsbComm& operator=(const TUsbComm&) = delete;

  // --- Device parameters, read and written directly by the host ---------
  uint8_t KeyUsage = 29;       // self-defined key, USB HID keyboard usage
  uint8_t KeyModifiers = 1;    // bit 0 Ctrl, bit 1 Shift, bit 2 Alt
  uint16_t PressureWord = 0;   // signed pressure as stored (0xFFFF = erased)
  uint8_t Rotation = 0;        // 0..3
  uint8_t ReportMode = 1;      // last report mode sent
  std::string CapabilityText = "00";      // "01": firmware above 0x2110
  uint16_t FirmwareVersion = 0;           // HID version number of interface A
  std::string FirmwareVersionText = "0";  // four upper-case hex digits
  std::string ModelCode = "R700";         // empty while interface A is lost
  std::string ProductString;              // string descriptor 2

  int16_t Pressure() const { return static_cast<int16_t>(PressureWord); }
  void SetPressure(int16_t value) { PressureWord = static_cast<uint16_t>(value); }

  // --- Callbacks -----------------------------------------------------------
  // Called at once with (interface A open and interface B open).
  void SetOnConnectChange(ConnectHandler handler);
  void SetOnInterfaceAReport(ReportHandler handler);  // vendor pen packets
  void SetOnInterfaceBReport(ReportHandler handler);  // digitizer reports

  // --- Feature reports (interface A; paced 300 ms apart) -------------------
  void SetReportMode(uint8_t mode);
  void SetArea(const AreaRecord& area);  // then re-sends ReportMode
  void SetInkFlag(bool flag);            // forced on for firmware above 0x1802
  void SetLeftHand(bool on);
  void SendFlags();
  void SendParameters();

  // --- Device memory --------------------------------------------------------
  // Reads the block into the fields and sends the parameters report. False
  // when the memory did not answer or no copy could be read and verified;
  // the fields then keep their values.
  bool ReadParameters();
  // Stores the fields into the block and writes it when they changed. False
  // when the block could not be read first or no copy could be written.
  bool WriteParameters();

  // Releases both interfaces (at shutdown).
  void CloseInterfaces();

  // --- State for the host and for tests -------------------------------------
  bool InterfaceAOpen() const { return aOpen_; }
  bool InterfaceBOpen() const { return bOpen_; }
  bool Connected() const { return aOpen_ && bOpen_; }
  uint8_t InkFlag() const { return inkFlag_; }
  uint8_t LeftHandValue() const { return leftHand_; }  // 3 left-hand, 0 right
  uint8_t ThirdFlag() const { return thirdFlag_; }
  const AreaRecord& Area() const { return area_; }
  uint16_t PressureBase() const { return pressureBase_; }  // 0 once sent
  int32_t DetectResult() const { return detectResult_; }
  const ParamBlock& Block() const { return block_; }

 private:
  using Report = std::array<uint8_t, kFeatureReportSize>;
  enum class SendResult { Sent, Dropped, Rejected };

  void OnChange();
  void OnRemoval(IHidDevice* device);
  void Release(IHidDevice* device);
  void OnReportA(const uint8_t* data, size_t size);
  void OnReportB(const uint8_t* data, size_t size);
  void DetectModel(IHidDevice& device);

  Report ModeReport() const;
  Report FlagsReport() const;
  Report ParametersReport() const;
  void PaceSend();
  SendResult TrySend(const Report& report);

  bool WaitForMemory();
  bool MemoryReachable();
  bool ReadCopy(int index, ParamBlock& out);
  bool ReadBlock(ParamBlock& block);
  bool RepairAndWrite(ParamBlock& block);
  bool WriteCopies(const ParamBlock& block);

  IHidController& hid_;
  IPadLink* padLink_;
  IClock& clock_;
  IBeeper& beeper_;

  uint8_t inkFlag_ = 0;
  uint8_t leftHand_ = 0;
  uint8_t thirdFlag_ = 0;
  uint32_t lastSendTick_;
  AreaRecord area_;
  ConnectHandler onConnect_;
  mutable std::mutex callbackMutex_;  // held only to copy a callback
  ReportHandler onReportA_;
  ReportHandler onReportB_;
  IHidDevice* deviceA_ = nullptr;
  IHidDevice* deviceB_ = nullptr;
  ParamBlock block_{};
  int32_t detectResult_ = 0;
  uint16_t pressureBase_ = 0;
  bool aOpen_ = false;
  bool bOpen_ = false;
};

}  // namespace pen

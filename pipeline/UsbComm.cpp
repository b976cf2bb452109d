#include "pipeline/UsbComm.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "pipeline/ProductString.h"

namespace pen {

namespace {

constexpr uint32_t kPacingMs = 300;
constexpr uint32_t kPacingStepMs = 100;
constexpr uint32_t kModeRetryMs = 1000;
constexpr uint32_t kMemoryPollMs = 1000;
constexpr uint32_t kMemoryGiveUpMs = 10000;
constexpr uint32_t kMemorySettleMs = 100;
constexpr uint32_t kProductRetryMs = 200;
constexpr int kProductRetries = 20;
constexpr int kProductStringIndex = 2;
constexpr uint32_t kCloseSettleMs = 200;
// Firmware above these numbers changes what the tablet can do.
constexpr uint16_t kFirmwareAlwaysInk = 0x1802;
constexpr uint16_t kFirmwareTracker = 0x2110;

constexpr uint8_t kFlagsCommand = 6;
constexpr uint8_t kParametersCommand = 4;

uint8_t Low(uint16_t v) { return static_cast<uint8_t>(v & 0xFF); }
uint8_t High(uint16_t v) { return static_cast<uint8_t>(v >> 8); }
// Bits 8..11 of two 12-bit values packed into one byte, first in the low nibble.
uint8_t Nibbles(uint16_t lowValue, uint16_t highValue) {
  return static_cast<uint8_t>(((lowValue >> 8) & 0x0F) | ((highValue >> 8) & 0x0F) << 4);
}

}  // namespace

TUsbComm::TUsbComm(IHidController& hid, IPadLink* padLink, IClock& clock, IBeeper& beeper)
    : hid_(hid), padLink_(padLink), clock_(clock), beeper_(beeper), lastSendTick_(clock.TickCount()) {
  hid_.SetRemovalHandler(Event<IHidDevice*>::Bind<&TUsbComm::OnRemoval>(this));
  // Installing the change handler scans at once: a tablet already plugged in
  // is opened before the constructor returns.
  hid_.SetChangeHandler(Event<>::Bind<&TUsbComm::OnChange>(this));
}

TUsbComm::~TUsbComm() {
  hid_.SetChangeHandler({});
  hid_.SetRemovalHandler({});
  for (IHidDevice** device : {&deviceA_, &deviceB_}) {
    if (*device != nullptr) Release(std::exchange(*device, nullptr));
  }
}

// ---------------------------------------------------------------- callbacks

void TUsbComm::SetOnConnectChange(ConnectHandler handler) {
  onConnect_ = handler;
  if (onConnect_) onConnect_(aOpen_ && bOpen_);
}

void TUsbComm::SetOnInterfaceAReport(ReportHandler handler) {
  std::lock_guard lock(callbackMutex_);
  onReportA_ = handler;
}

void TUsbComm::SetOnInterfaceBReport(ReportHandler handler) {
  std::lock_guard lock(callbackMutex_);
  onReportB_ = handler;
}

// The read threads take a copy under the lock so that a handler set from the
// main thread is never seen half written; the call itself runs unlocked.
void TUsbComm::OnReportA(const uint8_t* data, size_t size) {
  ReportHandler handler;
  {
    std::lock_guard lock(callbackMutex_);
    handler = onReportA_;
  }
  handler(data, size);
}

void TUsbComm::OnReportB(const uint8_t* data, size_t size) {
  ReportHandler handler;
  {
    std::lock_guard lock(callbackMutex_);
    handler = onReportB_;
  }
  handler(data, size);
}

// ---------------------------------------------------------- arrival/removal

void TUsbComm::OnChange() {
  if (!aOpen_) {
    if (IHidDevice* device = hid_.CheckOut(kVendorId, kInterfaceAPath, kProductId)) {
      deviceA_ = device;
      aOpen_ = true;
      device->SetDataHandler(ReportHandler::Bind<&TUsbComm::OnReportA>(this));
      FirmwareVersion = device->VersionNumber();
      char text[8];
      std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(FirmwareVersion));
      FirmwareVersionText = text;
      DetectModel(*device);
      ReadParameters();
      hid_.SetDirectDelivery(true);
    }
  }
  if (!bOpen_) {
    if (IHidDevice* device = hid_.CheckOut(kVendorId, kInterfaceBPath, kProductId)) {
      deviceB_ = device;
      bOpen_ = true;
      device->SetDataHandler(ReportHandler::Bind<&TUsbComm::OnReportB>(this));
    }
  }
  // Raised on every change while connected; the host ignores repeats.
  if (aOpen_ && bOpen_ && onConnect_) onConnect_(true);
}

void TUsbComm::OnRemoval(IHidDevice* device) {
  if (device == nullptr) return;
  if (device == deviceA_) {
    aOpen_ = false;
    deviceA_ = nullptr;
    ModelCode.clear();
    CapabilityText = "00";
    Release(device);
  } else if (device == deviceB_) {
    bOpen_ = false;
    deviceB_ = nullptr;
    Release(device);
  }
  if (!aOpen_ && !bOpen_ && onConnect_) onConnect_(false);
}

// A device that left is handed back at once: the HID layer keeps its handle
// and read thread until then, and a tray service meets many unplugs, sleeps
// and re-enumerations in a run. It is forgotten first, so that nothing run
// while its reader stops can reach it.
void TUsbComm::Release(IHidDevice* device) {
  device->SetDataHandler({});
  hid_.CheckIn(device);
}

void TUsbComm::DetectModel(IHidDevice& device) {
  ModelCode = kDefaultModelCode;
  auto readProduct = [&device] {
    std::string s = device.GetIndexedString(kProductStringIndex);
    s.resize(std::min(s.size(), s.find('\0')));  // a descriptor buffer may carry its padding
    return s;
  };
  std::string product = readProduct();
  // Right after arrival the descriptor may not be readable yet. Sleep rather
  // than run messages: a removal handled meanwhile would take the device away.
  for (int i = 0; i < kProductRetries && product.size() < kMinProductStringLength; ++i) {
    clock_.Sleep(kProductRetryMs);
    product = readProduct();
  }
  ProductString = product;
  ModelCode = ModelCodeFromProduct(product);
  if (FirmwareVersion > kFirmwareTracker) CapabilityText = "01";
}

void TUsbComm::CloseInterfaces() {
  for (IHidDevice** device : {&deviceA_, &deviceB_}) {
    if (*device != nullptr) Release(std::exchange(*device, nullptr));
  }
  // A checked-in device must not be sent anything later.
  aOpen_ = false;
  bOpen_ = false;
  clock_.Sleep(kCloseSettleMs);
}

// ---------------------------------------------------------- feature reports

TUsbComm::Report TUsbComm::ModeReport() const {
  return {kFeatureReportId, ReportMode,
          Low(area_.Left), Low(area_.Width), Nibbles(area_.Left, area_.Width),
          Low(area_.Top),  Low(area_.Height), Nibbles(area_.Top, area_.Height)};
}

TUsbComm::Report TUsbComm::FlagsReport() const {
  return {kFeatureReportId, kFlagsCommand, inkFlag_, leftHand_, thirdFlag_, 0, 0, 0};
}

TUsbComm::Report TUsbComm::ParametersReport() const {
  return {kFeatureReportId, kParametersCommand, KeyUsage,           KeyModifiers,
          High(PressureWord), Low(PressureWord), High(pressureBase_), Low(pressureBase_)};
}

// The tablet drops reports that follow each other too closely. The tick is
// taken before sending, so reports sent from messages run inside a wait are
// paced as well.
void TUsbComm::PaceSend() {
  while (clock_.TickCount() - lastSendTick_ < kPacingMs) clock_.Sleep(kPacingStepMs);
  lastSendTick_ = clock_.TickCount();
}

TUsbComm::SendResult TUsbComm::TrySend(const Report& report) {
  PaceSend();
  if (!aOpen_ || deviceA_ == nullptr) return SendResult::Dropped;
  return deviceA_->SetFeature(report.data(), report.size()) ? SendResult::Sent : SendResult::Rejected;
}

void TUsbComm::SetReportMode(uint8_t mode) {
  ReportMode = mode;
  if (TrySend(ModeReport()) != SendResult::Rejected) return;
  clock_.ProcessMessagesFor(kModeRetryMs);
  // Rebuilt, not replayed: commands run during the wait may have changed the
  // mode or the area, and the tablet must end up in the mode last recorded.
  // The interface may also have left meanwhile; TrySend then drops it.
  if (TrySend(ModeReport()) == SendResult::Rejected) beeper_.Beep();
}

void TUsbComm::SetArea(const AreaRecord& area) {
  area_ = area;
  SetReportMode(ReportMode);
}

void TUsbComm::SetInkFlag(bool flag) {
  inkFlag_ = (flag || FirmwareVersion > kFirmwareAlwaysInk) ? 1 : 0;
  SendFlags();
}

void TUsbComm::SetLeftHand(bool on) {
  leftHand_ = on ? 3 : 0;
  SendFlags();
}

void TUsbComm::SendFlags() {
  if (TrySend(FlagsReport()) == SendResult::Rejected) beeper_.Beep();
}

void TUsbComm::SendParameters() {
  switch (TrySend(ParametersReport())) {
    case SendResult::Sent:
      pressureBase_ = 0;  // the value read from memory goes out once per read
      break;
    case SendResult::Rejected:
      beeper_.Beep();
      break;
    case SendResult::Dropped:
      break;
  }
}

// ------------------------------------------------------------ device memory

// The vendor library answers only some time after the tablet arrives; poll
// it about once a second, keeping the message loop alive, for about 10 s.
bool TUsbComm::WaitForMemory() {
  detectResult_ = 0;
  if (padLink_ == nullptr) return false;
  const uint32_t start = clock_.TickCount();
  uint32_t limit = kMemoryPollMs;
  while (detectResult_ == 0) {
    detectResult_ = padLink_->DetectDevice(0);
    const uint32_t elapsed = clock_.TickCount() - start;
    if (elapsed < limit) clock_.ProcessMessagesFor(limit - elapsed);
    limit += kMemoryPollMs;
    // A quit ends the waits at once; polling on would only spin until the
    // limit. The quit itself is left for the main loop.
    if (clock_.Quitting()) return false;
    // Past the limit even an answer to the last poll comes too late.
    if (clock_.TickCount() - start > kMemoryGiveUpMs) return false;
  }
  return true;
}

// Reads through a scratch buffer so that a failed read leaves `out` as it was.
bool TUsbComm::ReadCopy(int index, ParamBlock& out) {
  ParamBlock scratch;
  scratch.fill(0xFF);
  if (padLink_->ReadBuffer(kParamCopyAddresses[index], scratch.data(), scratch.size(), 0) == 0) return false;
  out = scratch;
  return true;
}

bool TUsbComm::ReadBlock(ParamBlock& block) {
  bool read = false;
  for (int i = 0; i < 3 && !read; ++i) {
    if (i > 0) clock_.Sleep(kMemorySettleMs);
    read = ReadCopy(i, block);
  }
  if (!read) return false;
  const bool tracker = CapabilityText == "01";

  if (ChecksumErased(block)) {
    // The first copy was erased or never finished: the other two may still
    // hold the last good block, trusted when they agree with each other.
    ParamBlock second;
    ParamBlock third;
    const uint32_t sum1 = CopySum(block);
    if (ReadCopy(1, second)) {
      const uint32_t sum2 = CopySum(second);
      if (sum2 != sum1 && ReadCopy(2, third) && SecondCopyOutvotesFirst(sum1, sum2, CopySum(third))) {
        block = second;
      }
    }
    return RepairAndWrite(block);
  }

  bool rewrite = false;
  if (tracker && ForceTrackerBase(block)) {
    rewrite = true;
  } else if (ChecksumHolds(block)) {
    // A consistent block with a base the tablet cannot use was never ours:
    // the repair below starts it afresh instead of sending the base on.
    rewrite = !PressureBaseValid(ReadBigEndian16(block, param::kPressureBase));
  } else {
    rewrite = true;
    // An unreadable copy is no reason to give up while another may be good.
    ParamBlock copy;
    bool found = false;
    for (int i = 1; i < 3 && !found; ++i) found = ReadCopy(i, copy) && ChecksumHolds(copy);
    if (!found) return false;
    block = copy;
  }
  return rewrite ? RepairAndWrite(block) : true;
}

bool TUsbComm::RepairAndWrite(ParamBlock& block) {
  RepairBlock(block, CapabilityText == "01");
  return WriteCopies(block);
}

// EraseBlock clears all three copies at once, so after it every copy that can
// be written is written: stopping at the first failed write would leave the
// tablet with no copy at all.
bool TUsbComm::WriteCopies(const ParamBlock& block) {
  if (padLink_->EraseBlock(kEraseFirst, kEraseLast) == 0) return false;
  bool written = false;
  for (uint32_t address : kParamCopyAddresses) {
    clock_.Sleep(kMemorySettleMs);
    if (padLink_->WriteBuffer(address, block.data(), block.size(), 0) != 0) written = true;
  }
  clock_.Sleep(kMemorySettleMs);
  return written;
}

// Without the tablet there is no memory to reach, also when it left while
// the wait ran messages.
bool TUsbComm::MemoryReachable() { return aOpen_ && WaitForMemory() && aOpen_; }

bool TUsbComm::ReadParameters() {
  if (!MemoryReachable()) return false;
  ParamBlock block;
  if (!ReadBlock(block)) return false;
  block_ = block;
  pressureBase_ = ReadBigEndian16(block, param::kPressureBase);
  KeyUsage = block[param::kKeyUsage];
  KeyModifiers = block[param::kKeyModifiers];
  PressureWord = ReadBigEndian16(block, param::kPressure);
  Rotation = block[param::kRotation];
  SendParameters();
  return true;
}

bool TUsbComm::WriteParameters() {
  if (!MemoryReachable()) return false;
  ParamBlock block;
  if (!ReadBlock(block)) return false;
  pressureBase_ = ReadBigEndian16(block, param::kPressureBase);
  const ParamBlock before = block;
  block[param::kKeyUsage] = KeyUsage;
  block[param::kKeyModifiers] = KeyModifiers;
  WriteBigEndian16(block, param::kPressure, PressureWord);
  block[param::kRotation] = Rotation;
  SendParameters();
  if (block == before) {
    block_ = block;
    return true;
  }
  StoreChecksum(block);
  // Kept even when the write fails: the fields still hold what the user set.
  block_ = block;
  return WriteCopies(block);
}

}  // namespace pen

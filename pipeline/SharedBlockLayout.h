#pragma once
#include <cstddef>
#include <cstdint>

// The shared tablet-data block as every client reads it: the kernel object
// and message names, and where each field sits. Drawing programs depend on
// every value here; none may change.
namespace pen::tabshare {

constexpr const char* kMappingName = "QUORVEX TABSHARE.DTA";
constexpr const char* kMutexName = "QUORVEX TABMutex";
// Registered window messages. A: a client registers (wParam its window,
// lParam its process id) and the service notifies; B: a client asks for the
// flag on its entry (wParam its window).
constexpr const char* kMessageAName = "AMBER_HERON_2005";
constexpr const char* kMessageBName = "COPPER_HERON_2015";

// lParam of the service's message A.
constexpr int64_t kNotifyDeselected = 0;  // another process has the packets now
constexpr int64_t kNotifySelected = 1;    // a foreground change chose this client
constexpr int64_t kNotifyPacket = 5;      // wParam: the serial number just written

constexpr size_t kBlockSize = 1744;

// Header, little-endian 32-bit words.
constexpr size_t kTargetProcess = 0;
constexpr size_t kTail = 4;        // oldest slot not yet consumed
constexpr size_t kHead = 8;        // next slot to be written
constexpr size_t kSavedCount = 12; // signed; written at shut-down

constexpr size_t kRing = 16;
constexpr uint32_t kSlots = 64;
constexpr size_t kSlotSize = 18;

// Within a slot: the 9-byte pen packet, one unwritten byte, then the time
// stamp and the serial number.
namespace slot {
constexpr size_t kStatus = 0;
constexpr size_t kX = 1;
constexpr size_t kY = 3;
constexpr size_t kPressure = 5;
constexpr size_t kTiltA = 7;
constexpr size_t kTiltB = 8;
constexpr size_t kPacketBytes = 9;
constexpr size_t kTime = 10;
constexpr size_t kSerial = 14;
}  // namespace slot

constexpr size_t kSavedTable = 1168;
constexpr uint32_t kSavedEntries = 64;
constexpr size_t kSavedEntrySize = 9;

// Within a saved client entry, packed.
namespace saved {
constexpr size_t kWindow = 0;
constexpr size_t kProcess = 4;
constexpr size_t kFlag = 8;
}  // namespace saved

static_assert(kRing + kSlots * kSlotSize == kSavedTable);
static_assert(kSavedTable + kSavedEntries * kSavedEntrySize == kBlockSize);
static_assert(slot::kSerial + 4 == kSlotSize);

}  // namespace pen::tabshare

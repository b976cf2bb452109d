#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

#include "common/Beeper.h"
#include "common/ReadMostly.h"
#include "common/Trace.h"
#include "pipeline/AreaRecord.h"
#include "common/WindowTimer.h"
#include "pipeline/ClientTable.h"
#include "pipeline/DesktopWindows.h"
#include "pipeline/MouseInput.h"
#include "pipeline/PenPacket.h"
#include "pipeline/PerformanceCounter.h"
#include "pipeline/SharedBlock.h"
#include "pipeline/SharedBlockObjects.h"
#include "pipeline/SharedChannelPort.h"

namespace pen {

// What the shared channel needs of the system.
struct MapFilePorts {
  ISharedBlockObjects& objects;
  IDesktopWindows& windows;
  IWindowTimer& proximityTimer;
  IPerformanceCounter& counter;
  IBeeper& beeper;
  IMouseInput& mouse;
  int windowsMajorVersion;
};

// The shared tablet-data channel: publishes every pen packet into the
// 64-slot ring of the named shared block for the drawing programs (Wintab
// clients in other processes), keeps the table of client windows, picks the
// process the packets are meant for and wakes its client.
//
// Threads: PublishPacket runs on the HID read threads; everything else on
// the main thread. Every access to the block, and the ring state kept here
// (current packet, serial, last notified tail, proximity deadline), is under
// the block's named mutex. Which process and window the packets are for is
// decided and stored in one step under that mutex and the channel's own
// targeting lock (taken second, never held while waiting), so a pen-down on a
// read thread and a foreground change on the main thread cannot mix their
// stores. The client table is changed only on the main thread and copied
// whole by a read thread on pen-down (TReadMostly).
//
// The named mutex belongs to the whole session: any program may take it and
// keep it. Nothing here waits for it unboundedly. The first wait is long
// enough for a client's ordinary hold (a reader keeps it up to 150 ms);
// once a wait has run out, later packets only try and are dropped (counted,
// traced) until a try succeeds. A header store that found the mutex taken is
// left pending and done by the next holder; the main thread retries it, the
// left packet and a delayed restore of the client table from its timer.
//
// When the block cannot be had (mapping, view or mutex refused, or a view
// shorter than the layout) the channel writes nothing, but registrations,
// targets and ClientPresent still work, so the report-mode policy does too.
class TMapFile final : public ISharedChannel {
 public:
  static constexpr uint32_t kProximityMs = 500;
  // The longest wait for the named mutex: well above a client's 150 ms hold,
  // well below what makes the service look hung.
  static constexpr uint32_t kFirstWaitMs = 400;
  static_assert(kFirstWaitMs <= ISharedBlockObjects::kLongestLockWaitMs);
  // How soon the main thread tries again what found the mutex taken.
  static constexpr uint32_t kRetryMs = 100;
  static constexpr uint8_t kStatusInRange = 0xC0;
  static constexpr uint8_t kStatusLeft = 0x80;
  // Status bits that matter for pen-down: in range, tip, both buttons.
  static constexpr uint8_t kStatusMask = 0xCF;

  explicit TMapFile(const MapFilePorts& ports);
  ~TMapFile() override;
  TMapFile(const TMapFile&) = delete;
  TMapFile& operator=(const TMapFile&) = delete;

  // The service's own settings window counts as a client of this process.
  void RegisterOwnWindow(uintptr_t window) override;
  void SetArea(const AreaRecord& screenArea) override { area_.store(PackArea(screenArea), std::memory_order_relaxed); }
  // Re-targets to the foreground window (`previous`: the one before it) and
  // returns ClientPresent.
  bool SelectForegroundClient(uintptr_t foreground, uintptr_t previous) override;
  void PublishPacket(const PenPacket& packet) override;
  // Messages A and B; false for any other message.
  bool HandleChannelMessage(uint32_t msg, uint64_t wparam, int64_t lparam) override;
  void OnProximityTimer();
  // Saves the client table into the block for the next start, then lets go
  // of the block. Nothing is published afterwards.
  void Close() override;

  bool ClientPresent() const { return clientPresent_.load(std::memory_order_relaxed); }
  bool Publishing() const { return usable_; }
  // Packets not published because another program kept the mutex.
  uint32_t DroppedPackets() const { return dropped_.load(std::memory_order_relaxed); }
  // Where the drops and recoveries are noted; null: nowhere.
  void SetTrace(ITrace* trace) { trace_ = trace; }
  uint32_t MessageA() const { return messageA_; }
  uint32_t MessageB() const { return messageB_; }
  uintptr_t Target() const { return target_.load(std::memory_order_relaxed); }
  uintptr_t PreviousTarget() const { return previousTarget_.load(std::memory_order_relaxed); }
  uint32_t TargetProcess() const { return targetProcess_.load(std::memory_order_relaxed); }
  uint8_t TargetFlag() const { return targetFlag_.load(std::memory_order_relaxed); }
  // How many entries the start found saved in an existing block.
  uint32_t RestoredClients() const { return restored_; }
  TClientTable Clients() const { return clients_.Snapshot(); }

  // A window handle as it travels in a message parameter or a saved entry:
  // its 32 significant bits, widened the way the system widens handles, so
  // that 32- and 64-bit clients name the same window alike.
  static uintptr_t WindowFromWord(uint64_t word);

 private:
  void OpenBlock();
  void RestoreClients();
  // The named mutex with the waiting rules above; false when not had.
  bool TakeBlock();
  void Unlock();
  // A step the main thread could not finish: try again from the timer.
  void RetryLater();
  uint32_t NowMs();
  // Under the targeting lock. Stores the header now when the block is held,
  // else leaves it for the next holder; `reset`: also empties the ring.
  void SetHeader(uint32_t process, bool reset, bool held);
  // Under the targeting lock and the block's mutex.
  void ApplyPendingHeader();
  // Under the targeting lock; returns the window to tell it is deselected.
  uintptr_t RetargetToCursor(uint8_t status, bool held);
  // The table without dead windows, as of now; main thread.
  TClientTable LiveClients();
  // Under the block's mutex.
  void RingWrite(uint32_t now);

  MapFilePorts p_;
  TSharedBlock block_;
  bool usable_ = false;
  bool closed_ = false;
  uint64_t frequency_ = 0;
  uint32_t messageA_ = 0;
  uint32_t messageB_ = 0;
  uint32_t restored_ = 0;

  std::atomic<uint64_t> area_{0};
  std::atomic<uint32_t> targetProcess_{0};
  std::atomic<uint8_t> previousStatus_{kStatusInRange};
  std::atomic<uintptr_t> target_{0};
  std::atomic<uintptr_t> previousTarget_{0};
  std::atomic<uintptr_t> cursorWindow_{0};  // the window last found under the cursor
  std::atomic<bool> clientPresent_{false};
  std::atomic<uint8_t> targetFlag_{0};
  TReadMostly<TClientTable> clients_;
  ITrace* trace_ = nullptr;

  // Waiting for the mutex has run out and no try has succeeded since.
  std::atomic<bool> contended_{false};
  std::atomic<uint32_t> dropped_{0};
  // A pen-down whose packet found the mutex taken: re-targeted by the next
  // packet that gets it, if the tip or button is still down.
  std::atomic<bool> penDownPending_{false};
  // Main thread: the saved clients still to be read from an existing block.
  bool restorePending_ = false;

  std::mutex targeting_;
  // Under targeting_: a header store still to be made.
  bool headerPending_ = false;
  bool headerReset_ = false;
  uint32_t headerProcess_ = 0;

  // Under the block's mutex.
  PenPacket current_;
  uint32_t serial_ = 0;
  uint32_t notifiedTail_ = 0;
  uint32_t lastPacketMs_ = 0;
  bool proximityArmed_ = false;
};

}  // namespace pen

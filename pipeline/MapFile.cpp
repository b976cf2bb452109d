#include "pipeline/MapFile.h"

namespace pen {

using namespace tabshare;

namespace {

constexpr int kVista = 6;

// x' = ((x * size) >> 12) + origin * 16 in 16 bits, the product in 32.
uint16_t ScaleToArea(uint16_t v, uint16_t size, uint16_t origin) {
  const uint32_t scaled = ((uint32_t{v} * size) >> 12) + uint32_t{origin} * 16u;
  return static_cast<uint16_t>(scaled);
}

}  // namespace

uintptr_t TMapFile::WindowFromWord(uint64_t word) {
  return static_cast<uintptr_t>(static_cast<intptr_t>(static_cast<int32_t>(static_cast<uint32_t>(word))));
}

TMapFile::TMapFile(const MapFilePorts& ports) : p_(ports) {
  clientPresent_.store(p_.windowsMajorVersion < kVista, std::memory_order_relaxed);
  p_.proximityTimer.SetOnTimer(Event<>::Bind<&TMapFile::OnProximityTimer>(this));
  messageA_ = p_.windows.RegisterMessage(kMessageAName);
  messageB_ = p_.windows.RegisterMessage(kMessageBName);
  OpenBlock();
  if (p_.windowsMajorVersion >= kVista) {
    // Drawing programs may run at a lower integrity level than the service.
    if (messageA_ != 0) p_.windows.AcceptFromLowerIntegrity(messageA_);
    if (messageB_ != 0) p_.windows.AcceptFromLowerIntegrity(messageB_);
  }
}

TMapFile::~TMapFile() { Close(); }

void TMapFile::OpenBlock() {
  SharedBlockView view;
  if (!p_.objects.Open(view)) return;
  block_ = TSharedBlock(view.bytes, view.size);
  if (!block_.Complete()) {
    // Made smaller by some other program: using it would write past its end.
    block_ = TSharedBlock();
    p_.objects.Close();
    return;
  }
  usable_ = true;
  frequency_ = p_.counter.Frequency();
  if (TakeBlock()) {
    if (view.existed) {
      RestoreClients();
    } else {
      block_.Clear();
    }
    Unlock();
  } else if (view.existed) {
    // Start-up does not wait for whoever keeps the mutex: the saved clients
    // are read once it is free. A new block is zero as the system made it.
    restorePending_ = true;
    RetryLater();
  }
  TClientTable live = clients_.Current();
  if (live.RemoveDead([this](uintptr_t w) { return p_.windows.Exists(w); }) > 0) clients_.Set(live);
}

// Under the mutex, main thread. The header and ring of an existing block
// stay as they are.
void TMapFile::RestoreClients() {
  restorePending_ = false;
  const int32_t count = block_.SavedCount();
  // Only another program can have written a count outside the table.
  if (count < 0 || count >= static_cast<int32_t>(kSavedEntries)) {
    block_.Clear();
    return;
  }
  TClientTable table = clients_.Current();
  for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
    const SavedClient e = block_.ReadSaved(i);
    table.Add(WindowFromWord(e.window), e.process, e.flag);
  }
  clients_.Set(table);
  restored_ = static_cast<uint32_t>(count);
  if (restored_ > 0) p_.beeper.Beep();
}

void TMapFile::Close() {
  if (closed_) return;
  closed_ = true;
  p_.proximityTimer.Stop();
  if (!usable_) return;
  const TClientTable table = clients_.Current();
  if (TakeBlock()) {
    block_.SetSavedCount(static_cast<int32_t>(table.Count()));
    for (uint32_t i = 0; i < table.Count(); ++i) {
      const ClientEntry& e = table.At(i);
      block_.WriteSaved(i, SavedClient{static_cast<uint32_t>(e.window), e.process, e.flag});
    }
    Unlock();
  } else {
    TraceLine(trace_, "shared channel: mutex kept by another program, client table not saved");
  }
  usable_ = false;
  block_ = TSharedBlock();
  p_.objects.Close();
}

bool TMapFile::TakeBlock() {
  if (!usable_) return false;
  const bool waited = !contended_.load(std::memory_order_relaxed);
  if (p_.objects.Lock(waited ? kFirstWaitMs : 0)) {
    if (contended_.exchange(false, std::memory_order_relaxed)) {
      TraceLine(trace_, "shared channel: mutex free again, %u packets dropped so far",
                static_cast<unsigned>(dropped_.load(std::memory_order_relaxed)));
    }
    return true;
  }
  if (!contended_.exchange(true, std::memory_order_relaxed)) {
    TraceLine(trace_, "shared channel: mutex kept by another program beyond %u ms, packets dropped until it is free",
              static_cast<unsigned>(kFirstWaitMs));
  }
  return false;
}

void TMapFile::Unlock() { p_.objects.Unlock(); }

void TMapFile::RetryLater() {
  if (usable_ && !closed_) p_.proximityTimer.Start(kRetryMs);
}

// Milliseconds of the performance counter, low 32 bits. Split so that the
// product never overflows, whatever the counter's frequency and uptime.
uint32_t TMapFile::NowMs() {
  if (frequency_ == 0) return 0;
  const uint64_t count = p_.counter.Count();
  return static_cast<uint32_t>((count / frequency_) * 1000u + (count % frequency_) * 1000u / frequency_);
}

void TMapFile::RegisterOwnWindow(uintptr_t window) {
  if (window == 0) return;  // no settings window yet
  TClientTable table = clients_.Current();
  if (table.Add(window, p_.windows.OwnProcess(), 0)) clients_.Set(table);
}

TClientTable TMapFile::LiveClients() {
  TClientTable table = clients_.Current();
  if (table.RemoveDead([this](uintptr_t w) { return p_.windows.Exists(w); }) > 0) clients_.Set(table);
  return table;
}

void TMapFile::SetHeader(uint32_t process, bool reset, bool held) {
  if (!usable_) return;
  if (held) {
    ApplyPendingHeader();
    block_.SetTargetProcess(process);
    if (reset) {
      block_.SetTail(0);
      block_.SetHead(0);
    }
    return;
  }
  // A reset still to be made stays one, whatever process it is for now.
  headerReset_ = reset || (headerPending_ && headerReset_);
  headerProcess_ = process;
  headerPending_ = true;
}

void TMapFile::ApplyPendingHeader() {
  if (!headerPending_) return;
  headerPending_ = false;
  block_.SetTargetProcess(headerProcess_);
  if (headerReset_) {
    block_.SetTail(0);
    block_.SetHead(0);
  }
  headerReset_ = false;
}

bool TMapFile::SelectForegroundClient(uintptr_t foreground, uintptr_t previous) {
  const bool held = TakeBlock();
  uintptr_t before = 0;
  uintptr_t now = 0;
  {
    std::lock_guard<std::mutex> lock(targeting_);
    if (held && restorePending_) RestoreClients();
    before = target_.load(std::memory_order_relaxed);
    previousTarget_.store(before, std::memory_order_relaxed);
    cursorWindow_.store(foreground, std::memory_order_relaxed);
    const uint32_t process = p_.windows.ProcessOf(foreground);
    targetProcess_.store(process, std::memory_order_relaxed);
    const TClientTable table = LiveClients();
    const ClientEntry* client = table.FindLast(process);
    now = client ? client->window : 0;
    target_.store(now, std::memory_order_relaxed);
    SetHeader(process, true, held);
    if (client) {
      clientPresent_.store(true, std::memory_order_relaxed);
      targetFlag_.store(client->flag, std::memory_order_relaxed);
    } else if (p_.windowsMajorVersion < kVista) {
      targetFlag_.store(0, std::memory_order_relaxed);
      clientPresent_.store(true, std::memory_order_relaxed);
    } else {
      clientPresent_.store(false, std::memory_order_relaxed);
    }
  }
  if (held) {
    Unlock();
  } else {
    RetryLater();
  }
  if (messageA_ != 0) {
    if (before != 0 && before != now) p_.windows.Post(before, messageA_, 0, kNotifyDeselected);
    if (now != 0 && foreground != previous) p_.windows.Post(now, messageA_, 0, kNotifySelected);
  }
  return ClientPresent();
}

bool TMapFile::HandleChannelMessage(uint32_t msg, uint64_t wparam, int64_t lparam) {
  if (msg == 0) return false;
  if (msg == messageA_) {
    const uintptr_t window = WindowFromWord(wparam);
    const uint32_t process = static_cast<uint32_t>(lparam);
    if (lparam != 0) {
      p_.beeper.Beep();
      TClientTable table = clients_.Current();
      if (table.Add(window, process, 0)) clients_.Set(table);
    }
    const bool held = TakeBlock();
    {
      std::lock_guard<std::mutex> lock(targeting_);
      if (held && restorePending_) RestoreClients();
      target_.store(window, std::memory_order_relaxed);
      // The channel's own idea of the target process follows the header, or
      // the client's first pen-down on its own window would count as a
      // switch to another process: its unread packets dropped and a
      // "deselected" sent to the very client that keeps the packets.
      targetProcess_.store(process, std::memory_order_relaxed);
      SetHeader(process, false, held);
    }
    if (held) {
      Unlock();
    } else {
      RetryLater();
    }
    return true;
  }
  if (msg == messageB_) {
    const uintptr_t window = WindowFromWord(wparam);
    TClientTable table = clients_.Current();
    if (table.SetFlag(window, 1)) clients_.Set(table);
    return true;
  }
  return false;
}

void TMapFile::PublishPacket(const PenPacket& packet) {
  const uint8_t status = packet.Status();
  const uint8_t previous = previousStatus_.exchange(status, std::memory_order_relaxed);
  const bool down = (status & kStatusMask) > kStatusInRange;
  if (down && (previous & kStatusMask) == kStatusInRange) {
    penDownPending_.store(true, std::memory_order_relaxed);
  } else if (!down) {
    // Lifted before any packet of the press got through: nothing to follow.
    penDownPending_.store(false, std::memory_order_relaxed);
  }
  const bool held = TakeBlock();
  if (usable_ && !held) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  uintptr_t deselected = 0;
  {
    std::lock_guard<std::mutex> lock(targeting_);
    if (penDownPending_.exchange(false, std::memory_order_relaxed)) deselected = RetargetToCursor(status, held);
    if (held) {
      ApplyPendingHeader();
      current_ = packet;
      const AreaRecord area = UnpackArea(area_.load(std::memory_order_relaxed));
      current_.SetX(ScaleToArea(current_.X(), area.Width, area.Left));
      current_.SetY(ScaleToArea(current_.Y(), area.Height, area.Top));
      const uint32_t now = NowMs();
      lastPacketMs_ = now;
      if (!proximityArmed_) {
        // Armed once per stay in range; the tick itself finds out whether
        // packets kept coming, so no read thread touches the timer per
        // packet.
        proximityArmed_ = true;
        p_.proximityTimer.Start(kProximityMs);
      }
      RingWrite(now);
    }
  }
  if (held) Unlock();
  if (deselected != 0 && messageA_ != 0) p_.windows.Notify(deselected, messageA_, 0, kNotifyDeselected);
}

// The tip or a button has just gone down: the packets are for the process
// whose window is under the pen.
uintptr_t TMapFile::RetargetToCursor(uint8_t status, bool held) {
  const uintptr_t window = p_.windows.WindowUnderCursor();
  if (window == cursorWindow_.exchange(window, std::memory_order_relaxed)) return 0;
  const uint32_t process = p_.windows.ProcessOf(window);
  if (process == targetProcess_.load(std::memory_order_relaxed)) return 0;
  targetProcess_.store(process, std::memory_order_relaxed);
  SetHeader(process, true, held);
  // A copy, cleaned here: the main thread owns the table itself.
  TClientTable table = clients_.Snapshot();
  table.RemoveDead([this](uintptr_t w) { return p_.windows.Exists(w); });
  const ClientEntry* client = table.FindLast(process);
  const uintptr_t before = target_.exchange(client ? client->window : 0, std::memory_order_relaxed);
  previousTarget_.store(before, std::memory_order_relaxed);
  targetFlag_.store(client ? client->flag : 0, std::memory_order_relaxed);
  if (client && client->flag != 0 && p_.windowsMajorVersion < kVista) {
    uint32_t flags = 0;
    if (status & 1u) flags |= mouse_flags::kLeftDown;
    if (status & 2u) flags |= mouse_flags::kRightDown;
    if (status & 4u) flags |= mouse_flags::kMiddleDown;
    p_.mouse.MouseEvent(flags, 0, 0, 0, 0);
  }
  return before;
}

// Under the mutex.
void TMapFile::RingWrite(uint32_t now) {
  uint32_t tail = block_.TailIndex();
  uint32_t head = block_.HeadIndex();
  block_.WriteSlot(head, current_, now, serial_);
  head = TSharedBlock::NextIndex(head);
  block_.SetHead(head);
  if (tail == head) {
    // Full: the oldest packet goes.
    tail = TSharedBlock::NextIndex(tail);
    block_.SetTail(tail);
  }
  const uintptr_t target = target_.load(std::memory_order_relaxed);
  if (target != 0 && tail != notifiedTail_ && messageA_ != 0) {
    notifiedTail_ = tail;
    p_.windows.Notify(target, messageA_, serial_, kNotifyPacket);
  }
  ++serial_;
}

// Main thread. Also the retry of whatever found the mutex taken.
void TMapFile::OnProximityTimer() {
  if (!usable_) {
    p_.proximityTimer.Stop();
    return;
  }
  if (!TakeBlock()) {
    // The left packet is owed to the client: written once the mutex is free.
    p_.proximityTimer.Start(kRetryMs);
    return;
  }
  std::lock_guard<std::mutex> lock(targeting_);
  if (restorePending_) RestoreClients();
  ApplyPendingHeader();
  if (!proximityArmed_) {
    p_.proximityTimer.Stop();
    Unlock();
    return;
  }
  const uint32_t now = NowMs();
  const uint32_t quiet = now - lastPacketMs_;
  if (quiet < kProximityMs) {
    p_.proximityTimer.Start(kProximityMs - quiet);
    Unlock();
    return;
  }
  proximityArmed_ = false;
  p_.proximityTimer.Stop();
  // The last packet again, already scaled, now saying the pen has left.
  current_.SetStatus(kStatusLeft);
  RingWrite(now);
  Unlock();
}

}  // namespace pen

#pragma once
#include <cstdint>

#include "pipeline/SharedBlock.h"
#include "pipeline/SharedBlockObjects.h"

namespace pen {

// What a tablet-data client needs of the running service besides the block:
// finding its window and registering with it.
class IChannelService {
 public:
  virtual ~IChannelService() = default;
  // The service's window now; 0 when no service runs.
  virtual uint64_t FindService() = 0;
  // Posts message A (this client's window and process) to the service
  // window; false when it could not be posted.
  virtual bool Register(uint64_t service, uint64_t window, uint32_t process) = 0;
};

// Where a client's packets and changes go.
class IChannelSink {
 public:
  virtual ~IChannelSink() = default;
  // One ring slot meant for this process, oldest first. `lost`: how many
  // serials were skipped since the previous packet that was delivered (the
  // ring overflowed, or the packets went to another process meanwhile).
  // `index`: the slot's place in the ring (0..63).
  virtual void OnPacket(const RingSlot& slot, uint32_t lost, uint32_t index) = 0;
  // The service came (true) or went (false).
  virtual void OnService(bool present) = 0;
};

// The consumer side of the shared tablet-data channel, for one process:
// registers a window of the process with the running service, reads the
// ring's packets meant for this process under the block's mutex and moves
// the tail on, follows the serials, and notices the service leave and come
// back. Every wait on the mutex is short, so a program that keeps it costs
// this client packets, never its user interface.
//
// Single-threaded: the owner calls it from the thread of its window.
class TChannelClient {
 public:
  // A drain waits this long at most for the mutex, then tries again later.
  static constexpr uint32_t kLockWaitMs = 20;

  TChannelClient(ISharedBlockObjects& block, IChannelService& service, IChannelSink& sink, uint64_t window,
                 uint32_t process)
      : block_(block), service_(service), sink_(sink), window_(window), process_(process) {}
  ~TChannelClient() { Disconnect(); }
  TChannelClient(const TChannelClient&) = delete;
  TChannelClient& operator=(const TChannelClient&) = delete;

  // Looks for the service: registers with one that is new, opens the
  // block, lets go of everything when it has left, and reads what is
  // waiting. Called from a timer, since a notice can be missed.
  void Poll();
  // Poll without the reading, for a client that reads only when woken.
  void FollowService();
  // The service's message A (wParam, lParam). Returns whether packets were
  // delivered.
  bool OnMessageA(uint64_t wParam, int64_t lParam);
  // Reads what the ring holds for this process. Returns the number of
  // packets delivered.
  uint32_t Drain();
  // Forgets the service; the block is let go.
  void Disconnect();

  // Lets `look` read the block as it stands, under the mutex, with nothing
  // moved. False when the block is not open or the mutex stayed taken.
  template <typename Look>
  bool Inspect(Look&& look) {
    if (view_.bytes == nullptr) return false;
    if (!block_.Lock(lockWaitMs_)) {
      ++counts_.lockMisses;
      return false;
    }
    const TSharedBlock block(view_.bytes, view_.size);
    look(block);
    block_.Unlock();
    return true;
  }

  // How long a read waits for the mutex (kLockWaitMs unless set; the block
  // caps it in any case).
  void SetLockWait(uint32_t ms) { lockWaitMs_ = ms; }
  // Keeps the block while the service is away: a new instance then finds
  // this client's registration in it and is not sent another. Without a
  // block held across the gap, a new instance is registered with as usual.
  void KeepBlockAcrossRestart(bool keep) { keepBlock_ = keep; }

  bool Connected() const { return service != 0 && view_.bytes != nullptr; }
  // The block is mapped (kept also while the service is away, if asked to).
  bool BlockOpen() const { return view_.bytes != nullptr; }
  // The packets are meant for this process (as last seen in the header).
  bool Targeted() const { return targeted_; }
  uint32_t Process() const { return process_; }
  // The process the header named at the last read; 0 before any.
  uint32_t Target() const { return target_; }

  struct Counts {
    uint32_t packets = 0;       // delivered
    uint32_t lost = 0;          // serials skipped
    uint32_t registrations = 0; // message A posted
    uint32_t lockMisses = 0;    // drains the mutex held off
  };
  const Counts& Stats() const { return counts_; }

  uint64_t service = 0;  // the window registered with; 0: none

 private:
  bool OpenBlock();
  // The service is gone: what it knew of this client goes too, unless the
  // block is kept for the next instance.
  void Leave();

  ISharedBlockObjects& block_;
  IChannelService& service_;
  IChannelSink& sink_;
  const uint64_t window_;
  const uint32_t process_;
  SharedBlockView view_;
  bool targeted_ = false;
  uint32_t target_ = 0;
  uint32_t lockWaitMs_ = kLockWaitMs;
  bool keepBlock_ = false;
  // The block held now has this client's registration with an instance.
  bool knownInBlock_ = false;
  bool anySerial_ = false;
  uint32_t lastSerial_ = 0;
  Counts counts_;
};

}  // namespace pen

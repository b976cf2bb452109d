#pragma once
#include <cstdint>

namespace pen {

// One registered tablet-data client: a window of a drawing program.
struct ClientEntry {
  uintptr_t window = 0;
  uint32_t process = 0;
  uint8_t flag = 0;  // set by the client's message B
};

// The windows that registered as tablet-data clients, in the order they
// came. A plain value, so that it can be copied whole between threads (see
// TMapFile).
class TClientTable {
 public:
  // One slot fewer than the saved table holds: a registration beyond this
  // has no effect.
  static constexpr uint32_t kUsable = 63;

  uint32_t Count() const { return count_; }
  const ClientEntry& At(uint32_t i) const { return entries_[i]; }

  // False when the window is already there or the table is full.
  bool Add(uintptr_t window, uint32_t process, uint8_t flag);
  // False when the window is not in the table.
  bool SetFlag(uintptr_t window, uint8_t flag);
  // Drops the entries whose window no longer exists; each freed place takes
  // the last entry. Returns how many went.
  template <class Exists>
  uint32_t RemoveDead(Exists&& exists) {
    uint32_t removed = 0;
    for (uint32_t i = 0; i < count_;) {
      if (exists(entries_[i].window)) {
        ++i;
        continue;
      }
      entries_[i] = entries_[--count_];
      ++removed;
    }
    return removed;
  }
  // The entry last added for `process`; null when there is none.
  const ClientEntry* FindLast(uint32_t process) const;
  void Clear() { count_ = 0; }

 private:
  uint32_t count_ = 0;
  ClientEntry entries_[kUsable]{};
};

}  // namespace pen

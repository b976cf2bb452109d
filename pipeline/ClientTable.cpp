#include "pipeline/ClientTable.h"

namespace pen {

bool TClientTable::Add(uintptr_t window, uint32_t process, uint8_t flag) {
  for (uint32_t i = 0; i < count_; ++i) {
    if (entries_[i].window == window) return false;
  }
  if (count_ >= kUsable) return false;
  entries_[count_++] = ClientEntry{window, process, flag};
  return true;
}

bool TClientTable::SetFlag(uintptr_t window, uint8_t flag) {
  for (uint32_t i = 0; i < count_; ++i) {
    if (entries_[i].window == window) {
      entries_[i].flag = flag;
      return true;
    }
  }
  return false;
}

const ClientEntry* TClientTable::FindLast(uint32_t process) const {
  for (uint32_t i = count_; i > 0; --i) {
    if (entries_[i - 1].process == process) return &entries_[i - 1];
  }
  return nullptr;
}

}  // namespace pen

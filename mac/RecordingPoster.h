#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "mac/EventRecord.h"

namespace penmac {

// A poster that keeps the records instead of posting them: the last
// kCapacity records in a fixed ring (recording costs no allocation) and a
// count per kind. Serves the tests and the dry run of the headless program.
class RecordingPoster : public IEventPoster {
 public:
  static constexpr size_t kCapacity = 1024;

  void Post(const EventRecord& record) override;

  size_t Total() const { return total_; }
  // Records still held, oldest first: At(0) .. At(Held() - 1).
  size_t Held() const { return total_ < kCapacity ? total_ : kCapacity; }
  const EventRecord& At(size_t i) const;
  const EventRecord& Last() const { return At(Held() - 1); }
  void Clear() { total_ = 0; }

  // Called with each record as it arrives, when set (e.g. to write it out).
  void (*sink)(void* context, const EventRecord& record) = nullptr;
  void* sinkContext = nullptr;

 private:
  std::array<EventRecord, kCapacity> ring_{};
  size_t total_ = 0;
};

// One line of text for a record: type, location, flags and every field set,
// e.g. "type=1 loc=(480,270) f1=1 f3=0 ... d19=0.5".
std::string FormatEventRecord(const EventRecord& record);

}  // namespace penmac

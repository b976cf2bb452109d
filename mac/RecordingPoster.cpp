#include "mac/RecordingPoster.h"

#include <cstdio>

namespace penmac {

void RecordingPoster::Post(const EventRecord& record) {
  ring_[total_ % kCapacity] = record;
  ++total_;
  if (sink != nullptr) sink(sinkContext, record);
}

const EventRecord& RecordingPoster::At(size_t i) const {
  const size_t first = total_ < kCapacity ? 0 : total_ - kCapacity;
  return ring_[(first + i) % kCapacity];
}

std::string FormatEventRecord(const EventRecord& r) {
  std::string line;
  char buf[96];
  const auto add = [&line, &buf](int n) {
    if (n > 0) line.append(buf, static_cast<size_t>(n) < sizeof buf ? static_cast<size_t>(n) : sizeof buf - 1);
  };
  add(std::snprintf(buf, sizeof buf, "type=%d", static_cast<int>(r.type)));
  if (r.origin == EventRecord::Origin::Keyboard) {
    add(std::snprintf(buf, sizeof buf, " key=%u %s", static_cast<unsigned>(r.keyCode), r.keyDown ? "down" : "up"));
  }
  if (r.origin == EventRecord::Origin::SystemDefined) {
    add(std::snprintf(buf, sizeof buf, " subtype=%d data1=0x%llX data2=%lld", static_cast<int>(r.subtype),
                      static_cast<unsigned long long>(r.data1), static_cast<long long>(r.data2)));
  }
  if (r.location) add(std::snprintf(buf, sizeof buf, " loc=(%.6g,%.6g)", r.location->x, r.location->y));
  if (r.flags) add(std::snprintf(buf, sizeof buf, " flags=0x%llX", static_cast<unsigned long long>(*r.flags)));
  for (int f = 0; f < event_field::kCount; ++f) {
    if (const auto v = r.Integer(f)) add(std::snprintf(buf, sizeof buf, " f%d=%lld", f, static_cast<long long>(*v)));
  }
  for (int f = 0; f < event_field::kCount; ++f) {
    if (const auto v = r.Double(f)) add(std::snprintf(buf, sizeof buf, " d%d=%.6g", f, *v));
  }
  return line;
}

}  // namespace penmac

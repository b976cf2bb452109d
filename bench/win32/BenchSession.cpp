#include "BenchSession.h"

#include "pipeline/ReportEncoder.h"

namespace pen::bench {

uint16_t BenchSession::X(uint32_t i) { return static_cast<uint16_t>(500 + (i * 7) % 3000); }
uint16_t BenchSession::Y(uint32_t i) { return static_cast<uint16_t>(500 + (i * 5) % 3000); }

uint32_t BenchSession::Due(uint32_t i) const {
  return static_cast<uint32_t>((static_cast<uint64_t>(i) * 1000 + rate / 2) / rate);
}

TTabletRecording BenchSession::Recording() const {
  TTabletRecording rec;
  DigitizerSample s;
  s.rawPressure = 1800;  // in the air: moves without clicks
  uint32_t last = 0;
  for (uint32_t i = 0; i < moves; ++i) {
    s.x = X(i);
    s.y = Y(i);
    const uint32_t due = leadInMs + Due(i);
    AddDigitizerReport(rec, due - last, s);
    last = due;
  }
  if (moves == 0) rec.AddWait(leadInMs);  // a session of its lead-in only
  return rec;
}

}  // namespace pen::bench

#pragma once
#include <cstdint>

#include "pipeline/TabletRecording.h"

namespace pen::bench {

// The session of the CPU comparison: after a lead-in for the program to
// start, `moves` pen positions in the air at `rate` per second, each one
// apart from the last so that every report moves the pointer. The service
// plays it from a recording; the floor program injects the same moves.
struct BenchSession {
  uint32_t leadInMs = 2500;
  uint32_t moves = 2660;
  uint32_t rate = 266;

  // Position of move `i` in tablet units (0..4095).
  static uint16_t X(uint32_t i);
  static uint16_t Y(uint32_t i);
  // Milliseconds from the start of the moves to move `i`, whole milliseconds
  // as a recording holds them.
  uint32_t Due(uint32_t i) const;
  TTabletRecording Recording() const;
};

}  // namespace pen::bench

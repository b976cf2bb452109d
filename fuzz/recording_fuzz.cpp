// Recordings are hand-edited text: any input must give a recording or a
// line-numbered error, and what was read must write back and read again the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pipeline/TabletRecording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pen::TTabletRecording rec;
  std::string error;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!rec.Parse(text, error)) {
    if (error.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  pen::TTabletRecording back;
  if (!back.Parse(rec.Format(), error)) std::abort();
  if (!(back.steps == rec.steps) || !(back.identity == rec.identity) || back.startUnplugged != rec.startUnplugged)
    std::abort();
  return 0;
}

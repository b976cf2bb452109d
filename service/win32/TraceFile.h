#pragma once
#include <windows.h>

#include <mutex>
#include <string>

#include "service/HostShell.h"

namespace pen::win32 {

// The trace as text lines with the milliseconds since start, to a file or to
// the standard output the program was started with (a program without a
// console of its own borrows its parent's).
class TTraceFile final : public IHostTrace {
 public:
  // Empty `path`: standard output.
  explicit TTraceFile(const std::string& path);
  ~TTraceFile() override;
  TTraceFile(const TTraceFile&) = delete;
  TTraceFile& operator=(const TTraceFile&) = delete;

  bool Ok() const { return out_ != nullptr && out_ != INVALID_HANDLE_VALUE; }
  void Line(const char* text) override;

 private:
  std::mutex mutex_;
  HANDLE out_ = nullptr;
  bool owned_ = false;
  DWORD start_ = 0;
};

}  // namespace pen::win32

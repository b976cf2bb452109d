#include "service/win32/TraceFile.h"

#include <cstdio>
#include <cstring>

namespace pen::win32 {

TTraceFile::TTraceFile(const std::string& path) : start_(GetTickCount()) {
  if (!path.empty()) {
    out_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    owned_ = Ok();
    return;
  }
  out_ = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!Ok() && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out_ = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    owned_ = Ok();
  }
}

TTraceFile::~TTraceFile() {
  if (owned_) CloseHandle(out_);
}

void TTraceFile::Line(const char* text) {
  if (!Ok()) return;
  char line[256];
  const int n = std::snprintf(line, sizeof line, "[%7lu ms] %s\n", static_cast<unsigned long>(GetTickCount() - start_),
                              text);
  if (n <= 0) return;
  const DWORD size = static_cast<DWORD>(n < static_cast<int>(sizeof line) ? n : static_cast<int>(sizeof line) - 1);
  std::lock_guard<std::mutex> lock(mutex_);
  DWORD written = 0;
  WriteFile(out_, line, size, &written, nullptr);
}

}  // namespace pen::win32

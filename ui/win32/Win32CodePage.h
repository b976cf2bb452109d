#pragma once
#include "ui/CodePage.h"

namespace pen::win32 {

// A Windows code page through the system's conversion; by default the
// system's ANSI code page.
class TWin32CodePage final : public IAnsiCodePage {
 public:
  explicit TWin32CodePage(unsigned codePage = 0 /* CP_ACP */) : codePage_(codePage) {}
  std::u16string Decode(std::string_view bytes) const override;

 private:
  unsigned codePage_;
};

}  // namespace pen::win32

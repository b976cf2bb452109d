#pragma once
#include "inkprobe/SystemPorts.h"

namespace pen::win32 {

// The finder's dealings with windows: other programs' top-level windows and
// its own ownerless message boxes.
class TWin32Desktop : public IWindowPort, public IMessagePort {
 public:
  bool PostQuitToWindowOfClass(const char* className) override;
  void Show(const std::string& caption, const std::string& text, TMessageIcon icon) override;
};

}  // namespace pen::win32

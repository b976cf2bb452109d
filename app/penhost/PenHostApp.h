#pragma once
#include "app/penhost/HostOptions.h"

namespace pen::win32 {

// The whole service program: single-instance check, the long-lived objects
// in their creation order, the message loop and the orderly end. Returns the
// process exit code.
int RunPenHost(const HostOptions& options);

}  // namespace pen::win32

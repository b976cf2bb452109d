#pragma once

namespace pen::win32 {

// Enables SeDebugPrivilege in the calling process's token, so that processes
// of other users can be inspected and ended. False when it could not be (a
// user without the privilege; callers go on without it).
bool EnableDebugPrivilege();

}  // namespace pen::win32

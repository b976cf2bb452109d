#pragma once

namespace pen::win32 {

// Major version of the running Windows (5 for XP, 6 and above from Vista).
// Later systems may report 6 to programs without a compatibility manifest;
// that is still the right side of every test this program makes.
int WindowsMajorVersion();

}  // namespace pen::win32

#pragma once
// The GDI+ declarations. Its headers expect the min and max macros that
// NOMINMAX removes, and COM's IStream.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

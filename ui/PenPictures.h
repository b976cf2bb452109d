#pragma once
#include <string>

namespace pen {

// The two pictures of the main settings window, drawn by us: the pen with
// its pressure scale ("PenShape.bmp", 78 x 370; the scale lies in the
// strips that are blanked when the pressure cannot be adjusted) and the
// logo ("Logo.bmp", 200 x 44). Each is returned as the bytes of a 24-bit
// BMP file; ui/pictures holds the files made from them.
std::string PenShapeBmp();
std::string LogoBmp();

}  // namespace pen

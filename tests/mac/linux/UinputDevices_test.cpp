#include "mac/linux/UinputDevices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace penmac::linux_layer {
namespace {

// GTK's X11 backend tells pens, erasers, cursors and pads from other
// devices by these words in their names (lower-cased), "pen" and "wacom"
// before "mouse": GIMP and Inkscape would take a keyboard or mouse named so
// for a pen.
TEST(UinputDevices, OnlyThePensNameSaysPenAndNoNameSaysAnotherTool) {
  const char* toolWords[] = {"pen", "wacom", "eraser", "cursor", " pad"};
  for (VirtualDevice device : UinputDevices::kAll) {
    std::string name = UinputDevices::Name(device);
    ASSERT_FALSE(name.empty());
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* word : toolWords) {
      const bool says = name.find(word) != std::string::npos;
      const bool shouldSay = device == VirtualDevice::Pen && std::string(word) == "pen";
      EXPECT_EQ(says, shouldSay) << '"' << name << "\" and \"" << word << '"';
    }
  }
}

}  // namespace
}  // namespace penmac::linux_layer

#pragma once
#include <string>

namespace penmac::linux_layer {

// What the program checks before it starts the driver, so that a missing
// tablet or missing access rights get a message that says what to do.
struct TabletCheck {
  enum class Status { Found, NotFound, NoAccess };
  Status status = Status::NotFound;
  std::string devnode;  // the node that could not be opened
  int error = 0;
};

TabletCheck CheckTablet();
// Empty when uinput can be opened for writing, otherwise why not.
std::string CheckUinput(const std::string& path);

// The messages, naming the udev rule that grants the access.
std::string NoTabletMessage();
std::string NoHidrawAccessMessage(const TabletCheck& check);
std::string NoUinputMessage(const std::string& error);
std::string NoGrabMessage(const std::string& devnode, int error);

}  // namespace penmac::linux_layer

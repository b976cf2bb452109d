#pragma once
#include <cstdint>

namespace pen {

// WM_WHEELUI: the wheel's centre button and steps, posted to the host's
// window and handed to the wheel overlay. Other programs never send it, but
// the number is the one the host's window has always taken.
namespace wheel_message {
constexpr uint32_t kWheelUi = 0x0400 + 500;  // 1524
constexpr uint64_t kCentreButton = 1;        // LPARAM 1 pressed, other released
constexpr uint64_t kStep = 2;                // LPARAM low byte: signed step
// Posted by the overlay to itself: open the wheel settings window from the
// top-level loop (a long press seen inside a wait of the main thread).
constexpr uint64_t kOpenSettings = 3;
}  // namespace wheel_message

}  // namespace pen

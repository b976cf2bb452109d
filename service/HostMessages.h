#pragma once
#include <cstdint>

namespace pen {

// Window messages of the hidden main window. Other programs post these by
// number, so the values are a compatibility promise.
namespace host_msg {
constexpr uint32_t kUser = 0x0400;
constexpr uint32_t kShowSettings = kUser + 100;    // 1124
constexpr uint32_t kServiceCommand = kUser + 101;  // 1125: code in LPARAM, argument in WPARAM
constexpr uint32_t kSetRotation = kUser + 102;     // 1126
constexpr uint32_t kWheelUi = kUser + 500;         // 1524
// Private: a read thread asks the main thread to re-check the foreground
// program, because feature reports are only ever sent from the main thread.
constexpr uint32_t kForegroundRecheck = kUser + 510;

constexpr uint32_t kDestroy = 2;
constexpr uint32_t kClose = 16;
constexpr uint32_t kQueryEndSession = 17;
constexpr uint32_t kDisplayChange = 126;
}  // namespace host_msg

namespace host_cmd {
constexpr int64_t kApplySettings = 0;
constexpr int64_t kPressure = 1;
constexpr int64_t kLoadLanguage = 3;
constexpr int64_t kReportModeFull = 4;
constexpr int64_t kScreenArea = 5;
constexpr int64_t kSaveDefinitions = 6;
constexpr int64_t kTabletArea = 7;
constexpr int64_t kLeftHand = 8;
constexpr int64_t kResetDefinitions = 9;
constexpr int64_t kReportModeForInk = 10;
constexpr int64_t kForegroundChange = 11;
}  // namespace host_cmd

// WPARAM values of WM_WHEELUI.
namespace wheel_ui {
constexpr uint64_t kCentreButton = 1;
constexpr uint64_t kStep = 2;
}  // namespace wheel_ui

}  // namespace pen

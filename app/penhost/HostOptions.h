#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pen {

// The command line of the service program.
//   --virtual-tablet[=RECORDING]  a tablet without hardware, playing the
//                                 recording (the built-in demonstration when
//                                 no file is given)
//   --feature-log=FILE            the virtual tablet logs each feature report
//   --trace[=FILE]                a line per thing the driver does (stdout,
//                                 or FILE)
//   --exit-after=SECONDS          close the program after that long
//   --show-settings[=PNG]         open the settings window once running, and
//                                 save a picture of it as PNG a moment later
//   --show-key-setup[=PNG]        open the settings window and from it the
//                                 connected model's key-setup window, and save
//                                 a picture of that as PNG a moment later
//   --show-screen-mapping[=PNG]   open the settings window and from it the
//                                 screen mapping window, and save a picture
//                                 of the mapping window as PNG a moment later
//   --show-wheel=PNG              a picture of the wheel settings window as
//                                 PNG a moment after it opens
//   --show-notice=PNG             a picture of the wheel's notice as PNG a
//                                 moment after it shows
//   --no-launch                   soft keys that start programs only note
//                                 it in the trace (test runs)
// Without switches it is the tray program driving the real tablet.
struct HostOptions {
  bool virtualTablet = false;
  std::string recording;  // empty: the built-in demonstration
  std::string featureLog;
  bool trace = false;
  std::string traceFile;  // empty: standard output
  uint32_t exitAfterMs = 0;  // 0: run until stopped
  bool showSettings = false;
  std::string screenshotFile;  // empty: no picture
  bool showKeySetup = false;
  std::string keySetupShotFile;  // empty: no picture
  bool showScreenMapping = false;
  std::string screenMappingShotFile;  // empty: no picture
  std::string wheelShotFile;   // empty: no picture
  std::string noticeShotFile;  // empty: no picture
  bool launchPrograms = true;

  // False with a message naming the offending argument; the options then
  // keep what was parsed before it.
  bool Parse(const std::vector<std::string>& args, std::string& error);
};

}  // namespace pen

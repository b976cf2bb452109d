#pragma once
#include <optional>
#include <string>

namespace penmac::linux_layer {

struct PenmacOptions {
  bool headless = false;
  std::string screens = "1920x1080";
  std::string configDir;  // empty: $XDG_CONFIG_HOME/penmac
  bool wait = false;
  std::string replay;
  bool dryRun = false;
  std::string eventsFile;
  double exitAfter = 0;
  std::string uinput = "/dev/uinput";
  bool verbose = false;
};

// Exit statuses besides 0 (ended by a signal or the time limit) and 1 (any
// other failure).
constexpr int kExitUsage = 2;
constexpr int kExitNoTablet = 3;
constexpr int kExitNoHidrawAccess = 4;
constexpr int kExitNoUinput = 5;
constexpr int kExitAlreadyRunning = 6;
constexpr int kExitNoDisplay = 7;

// Nothing when the program should go on; otherwise the status to exit with
// (help was printed, or what was wrong with the command line).
std::optional<int> ParseOptions(int argc, char** argv, PenmacOptions& options);

}  // namespace penmac::linux_layer

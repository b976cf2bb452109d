#include "app/penmac/PenmacOptions.h"

#include <CLI/CLI.hpp>

namespace penmac::linux_layer {

std::optional<int> ParseOptions(int argc, char** argv, PenmacOptions& o) {
  CLI::App app(
      "penmac: drives the USB pen tablet 08F2:6811 - pen position, pressure and tilt, the tablet keys, the\n"
      "soft keys and the wheel become input on the desktop.\n"
      "Without --headless it is a desktop application with a status menu in the system tray.\n"
      "Configuration: <product name>.scrn and .keys in $XDG_CONFIG_HOME/penmac (~/.config/penmac).",
      "penmac");
  app.add_flag("--headless", o.headless,
               "run the driver without the status menu (servers, tests, desktops without a tray)");
  app.add_option("--screens", o.screens,
                 "with --headless: the desktop's screens as WxH+X+Y, comma-separated, primary first (default "
                 "1920x1080); the desktop application follows the desktop's own")
      ->envname("PENMAC_SCREENS");
  app.add_option("--config-dir", o.configDir, "folder of the configuration files");
  app.add_flag("--wait", o.wait, "wait for the tablet instead of ending when none is plugged in");
  app.add_option("--replay", o.replay, "play a recorded session (docs/recording-format.md) instead of the tablet")
      ->check(CLI::ExistingFile);
  app.add_flag("--dry-run", o.dryRun, "record the input events instead of posting them (no /dev/uinput needed)");
  app.add_option("--events", o.eventsFile, "write every input event to this file, one line each (implies --dry-run)");
  app.add_option("--exit-after", o.exitAfter, "end that many seconds after start")->check(CLI::PositiveNumber);
  app.add_option("--uinput", o.uinput, "the uinput device node")->default_str("/dev/uinput");
  app.add_flag("-v,--verbose", o.verbose, "say what arrives: devices, feature reports");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int rc = app.exit(e);
    return rc == 0 ? 0 : kExitUsage;
  }
  if (!o.eventsFile.empty()) o.dryRun = true;
  return std::nullopt;
}

}  // namespace penmac::linux_layer

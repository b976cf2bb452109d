#include "app/penhost/HostOptions.h"

#include <charconv>
#include <string_view>

namespace pen {

namespace {

// Splits "--name=value" into name and value; `hasValue` says whether '=' was there.
void Split(std::string_view arg, std::string_view& name, std::string_view& value, bool& hasValue) {
  const size_t eq = arg.find('=');
  hasValue = eq != std::string_view::npos;
  name = arg.substr(0, eq);
  value = hasValue ? arg.substr(eq + 1) : std::string_view{};
}

}  // namespace

bool HostOptions::Parse(const std::vector<std::string>& args, std::string& error) {
  for (const std::string& arg : args) {
    std::string_view name, value;
    bool hasValue = false;
    Split(arg, name, value, hasValue);
    if (name == "--virtual-tablet") {
      virtualTablet = true;
      recording = std::string(value);
    } else if (name == "--feature-log" && hasValue && !value.empty()) {
      featureLog = std::string(value);
    } else if (name == "--trace") {
      trace = true;
      traceFile = std::string(value);
    } else if (name == "--show-settings" && (!hasValue || !value.empty())) {
      showSettings = true;
      screenshotFile = std::string(value);
    } else if (name == "--show-key-setup" && (!hasValue || !value.empty())) {
      showKeySetup = true;
      keySetupShotFile = std::string(value);
    } else if (name == "--show-screen-mapping" && (!hasValue || !value.empty())) {
      // The mapping window opens from the settings window, as a user opens it.
      showSettings = true;
      showScreenMapping = true;
      screenMappingShotFile = std::string(value);
    } else if (name == "--show-wheel" && hasValue && !value.empty()) {
      wheelShotFile = std::string(value);
    } else if (name == "--show-notice" && hasValue && !value.empty()) {
      noticeShotFile = std::string(value);
    } else if (name == "--no-launch" && !hasValue) {
      launchPrograms = false;
    } else if (name == "--exit-after" && hasValue) {
      uint32_t seconds = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
      // An hour is far beyond any session; larger values are typing errors.
      if (ec != std::errc() || end != value.data() + value.size() || seconds == 0 || seconds > 3600) {
        error = "--exit-after needs a number of seconds from 1 to 3600: " + arg;
        return false;
      }
      exitAfterMs = seconds * 1000;
    } else {
      error = "unknown or incomplete argument: " + arg;
      return false;
    }
  }
  return true;
}

}  // namespace pen

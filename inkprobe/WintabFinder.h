#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "inkprobe/Messages.h"
#include "inkprobe/SystemPorts.h"

namespace pen {

// Before the installer replaces wintab32.dll: deals with the Windows Ink
// service, finds the processes that hold wintab32.dll, tells the user and
// ends them, and warns that setup adds a start-up item.
class TWintabFinder {
 public:
  // The Ink checks ended the call; no process was examined.
  static constexpr int32_t kInkHandled = 100;
  // Added per holder that could not be ended (on top of its count of 1).
  static constexpr int32_t kFailureWeight = 1000;

  TWintabFinder(const TFinderPorts& ports, uint16_t systemLangId);

  // 100, 0 (no process list), or n + 1000 * f for n holders of which f
  // could not be ended. showNotice == 1 shows the start-up notice.
  int32_t FindWintabInUsed(int32_t showNotice);

  // The process ids of the last enumeration.
  const std::vector<uint32_t>& ProcessIds() const { return processIds_; }

 private:
  bool InkControlsMissing();
  bool RetireInkServer();
  bool EnumerateProcesses(bool& inkServiceRunning);
  void StopInkServiceWindow();
  bool FindHolder(uint32_t processId, std::string& holderPath);
  bool TerminateByName(const std::string& holderPath, uint32_t holderId);
  bool Ended(uint32_t processId);
  void ShowMessage(TFinderMessage message, const std::string& path, TMessageIcon icon);

  TFinderPorts ports_;
  uint16_t langId_;
  std::vector<uint32_t> processIds_;
  std::vector<TProcessEntry> processes_;
  std::vector<TModuleEntry> modules_;
};

}  // namespace pen

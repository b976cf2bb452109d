#pragma once
#include "inkprobe/SystemPorts.h"

namespace pen::win32 {

// Processes through tool-help snapshots; executable paths through PSAPI,
// which is loaded on first use.
class TToolhelpProcesses : public IProcessPort {
 public:
  bool ListProcesses(std::vector<TProcessEntry>& out) override;
  bool ListModules(uint32_t processId, std::vector<TModuleEntry>& out) override;
  bool ImagePath(uint32_t processId, std::string& out) override;
  TTerminateOutcome Terminate(uint32_t processId) override;
  uint32_t CurrentProcessId() override;
};

}  // namespace pen::win32

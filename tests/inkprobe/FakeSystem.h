#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/FakeClock.h"
#include "inkprobe/SystemPorts.h"

namespace pen::test {

// A small simulated machine: processes with their modules, a classes root,
// files, windows and a user who presses OK on every message box.
struct FakeProcess {
  std::string exeFile;
  std::vector<TModuleEntry> modules;
  std::string imagePath;
  TTerminateOutcome onTerminate = TTerminateOutcome::Terminated;
};

class FakeProcesses : public IProcessPort {
 public:
  std::map<uint32_t, FakeProcess> running;  // ordered by id = snapshot order
  bool snapshotFails = false;
  int snapshotsTaken = 0;
  int failSnapshotsFrom = 1 << 30;  // snapshots from this one on fail
  uint32_t self = 4;
  std::vector<uint32_t> terminated;
  std::vector<uint32_t> moduleQueries;

  uint32_t Add(uint32_t id, const std::string& exeFile, const std::string& dir, bool holdsWintab) {
    FakeProcess p;
    p.exeFile = exeFile;
    p.imagePath = dir + "\\" + exeFile;
    p.modules.push_back({exeFile, p.imagePath});
    p.modules.push_back({"KERNEL32.DLL", "C:\\windows\\system32\\KERNEL32.DLL"});
    if (holdsWintab) p.modules.push_back({"Wintab32.dll", "C:\\windows\\system32\\Wintab32.dll"});
    running[id] = p;
    return id;
  }

  bool ListProcesses(std::vector<TProcessEntry>& out) override {
    ++snapshotsTaken;
    if (snapshotFails || snapshotsTaken >= failSnapshotsFrom) return false;
    for (const auto& [id, p] : running) out.push_back({id, p.exeFile});
    return true;
  }
  bool ListModules(uint32_t id, std::vector<TModuleEntry>& out) override {
    moduleQueries.push_back(id);
    auto it = running.find(id);
    if (it == running.end()) return false;
    out = it->second.modules;
    return true;
  }
  bool ImagePath(uint32_t id, std::string& out) override {
    auto it = running.find(id);
    if (it == running.end() || it->second.imagePath.empty()) return false;
    out = it->second.imagePath;
    return true;
  }
  TTerminateOutcome Terminate(uint32_t id) override {
    auto it = running.find(id);
    if (it == running.end()) return TTerminateOutcome::Gone;
    const TTerminateOutcome outcome = it->second.onTerminate;
    if (outcome == TTerminateOutcome::Terminated) {
      terminated.push_back(id);
      running.erase(it);
    }
    return outcome;
  }
  uint32_t CurrentProcessId() override { return self; }
};

class FakeRegistry : public IClassRegistry {
 public:
  std::set<std::string> progIds{"InkEd.InkEdit", "msinkaut.InkPicture"};
  std::map<std::string, std::string> defaults;
  std::vector<std::string> progIdQueries;

  bool ProgIdRegistered(const char* progId) override {
    progIdQueries.push_back(progId);
    return progIds.count(progId) != 0;
  }
  bool ReadClassesRootDefault(const char* subKey, std::string& value) override {
    auto it = defaults.find(subKey);
    if (it == defaults.end()) return false;
    value = it->second;
    return true;
  }
};

class FakeFiles : public IFilePort {
 public:
  std::set<std::string> files;  // exact names: the fake is case-sensitive on purpose
  bool renameFails = false;
  std::vector<std::pair<std::string, std::string>> renames;

  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool Rename(const std::string& from, const std::string& to) override {
    renames.emplace_back(from, to);
    if (renameFails || !files.erase(from)) return false;
    files.insert(to);
    return true;
  }
};

class FakeWindows : public IWindowPort {
 public:
  std::map<std::string, int> windows;  // class -> quits needed before it closes
  std::vector<std::string> quitsPosted;

  bool PostQuitToWindowOfClass(const char* className) override {
    auto it = windows.find(className);
    if (it == windows.end()) return false;
    quitsPosted.push_back(className);
    if (--it->second <= 0) windows.erase(it);
    return true;
  }
};

struct ShownMessage {
  std::string caption;
  std::string text;
  TMessageIcon icon;
};

class FakeMessages : public IMessagePort {
 public:
  std::vector<ShownMessage> shown;
  void Show(const std::string& caption, const std::string& text, TMessageIcon icon) override {
    shown.push_back({caption, text, icon});
  }
};

struct FakeSystem {
  FakeProcesses processes;
  FakeRegistry registry;
  FakeFiles files;
  FakeWindows windows;
  FakeMessages messages;
  FakeClock clock;
  TFinderPorts Ports() { return {processes, registry, files, windows, messages, clock}; }
};

}  // namespace pen::test

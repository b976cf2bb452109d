#pragma once
// Helpers of the inkprobe end-to-end driver: a user who presses OK on every
// message box of this process, holder processes and test registry entries.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace inkprobe_e2e {

struct SeenBox {
  std::string caption;
  std::string text;
};

// Watches this process's message boxes from a second thread, records each
// one's caption and text and closes it as OK would.
class BoxWatcher {
 public:
  BoxWatcher();
  ~BoxWatcher();
  std::vector<SeenBox> Seen();

 private:
  void Run();
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<SeenBox> seen_;
  std::thread thread_;
};

// A started inkprobe-holder.exe, which has loaded wintab32.dll.
struct Holder {
  PROCESS_INFORMATION info{};
  bool started = false;
};

std::string ProgramDir();
Holder StartHolder(std::string& error);
bool HasEnded(const Holder& holder, DWORD waitMs);
void EndHolder(Holder& holder);

// Entries under the classes root (HKCR is not merged with the user's classes
// under Wine), removed again by ClearClassesKey.
bool SetClassesDefault(const std::string& subKey, const std::string& value);
void ClearClassesKey(const std::string& subKey);

}  // namespace inkprobe_e2e

#include "inkprobe/WintabFinder.h"

#include "inkprobe/PathText.h"

namespace pen {
namespace {

constexpr const char* kInkEditProgId = "InkEd.InkEdit";
constexpr const char* kInkPictureProgId = "msinkaut.InkPicture";
// The pen input server's class. The classes root is the key's base, so the
// path carries no leading separator.
constexpr const char* kInkServerKey = "CLSID\\{A5B020FD-E04B-4e67-B65A-E7DEED25B2CF}\\LocalServer32";
constexpr std::string_view kInkServerMark = "ink\\wisptis";
constexpr const char* kInkServerNewTail = "ink\\wisptis32.exe";
constexpr std::string_view kInkServerExe = "wisptis.exe";
constexpr const char* kInkServiceWindowClass = "TabletPenServiceHelperClass";
constexpr uint32_t kInkServiceQuitWaitMs = 200;
constexpr std::string_view kWintabModule = "wintab32.dll";

}  // namespace

TWintabFinder::TWintabFinder(const TFinderPorts& ports, uint16_t systemLangId)
    : ports_(ports), langId_(systemLangId) {}

int32_t TWintabFinder::FindWintabInUsed(int32_t showNotice) {
  if (InkControlsMissing()) return kInkHandled;
  if (RetireInkServer()) return kInkHandled;

  bool inkServiceRunning = false;
  if (!EnumerateProcesses(inkServiceRunning) || processIds_.empty()) return 0;
  if (inkServiceRunning) StopInkServiceWindow();

  int32_t count = 0;
  std::string holderPath;
  for (const uint32_t processId : processIds_) {
    if (!FindHolder(processId, holderPath)) continue;
    ++count;
    ShowMessage(TFinderMessage::InUse, holderPath, TMessageIcon::Error);
    if (!TerminateByName(holderPath, processId)) {
      ShowMessage(TFinderMessage::TerminateFailed, holderPath, TMessageIcon::Error);
      count += kFailureWeight;
    }
  }

  if (showNotice == 1) ShowMessage(TFinderMessage::StartupNotice, std::string(), TMessageIcon::Warning);
  return count;
}

bool TWintabFinder::InkControlsMissing() {
  return !ports_.registry.ProgIdRegistered(kInkEditProgId) ||
         !ports_.registry.ProgIdRegistered(kInkPictureProgId);
}

// An Ink server still in its own "ink" folder is renamed out of the way; the
// installer then takes over without examining processes, whether or not the
// rename worked.
bool TWintabFinder::RetireInkServer() {
  std::string server;
  if (!ports_.registry.ReadClassesRootDefault(kInkServerKey, server)) return false;
  // Matched in lower case, but the file is addressed by the stored text: a
  // lowered double-byte path may name another file.
  const size_t mark = AsciiLower(server).find(kInkServerMark);
  if (mark == std::string::npos || !ports_.files.FileExists(server)) return false;
  ports_.files.Rename(server, server.substr(0, mark) + kInkServerNewTail);
  return true;
}

bool TWintabFinder::EnumerateProcesses(bool& inkServiceRunning) {
  processIds_.clear();
  processes_.clear();
  if (!ports_.processes.ListProcesses(processes_)) return false;
  std::string image;
  for (const TProcessEntry& process : processes_) {
    processIds_.push_back(process.id);
    if (AsciiLower(process.exeFile).find(kInkServerExe) == std::string::npos) continue;
    image.clear();
    if (ports_.processes.ImagePath(process.id, image) &&
        AsciiLower(image).find(kInkServerMark) != std::string::npos) {
      inkServiceRunning = true;
    }
  }
  return true;
}

void TWintabFinder::StopInkServiceWindow() {
  // Without a window there is nothing to post to: a quit posted to no window
  // would land in the installer's own message queue.
  if (!ports_.windows.PostQuitToWindowOfClass(kInkServiceWindowClass)) return;
  ports_.clock.Sleep(kInkServiceQuitWaitMs);
  ports_.windows.PostQuitToWindowOfClass(kInkServiceWindowClass);
}

bool TWintabFinder::FindHolder(uint32_t processId, std::string& holderPath) {
  modules_.clear();
  if (!ports_.processes.ListModules(processId, modules_) || modules_.empty()) return false;
  for (const TModuleEntry& module : modules_) {
    if (AsciiLower(module.name).find(kWintabModule) != std::string::npos) {
      holderPath = modules_.front().path;
      return true;
    }
  }
  return false;
}

// Ends every process of the holder's program. The holder counts as ended only
// when each of them was: one that cannot be opened, or the installer itself,
// still holds the file. The holder is ended by its id as well when the name
// did not find it (a short name in the snapshot, or no snapshot at all).
bool TWintabFinder::TerminateByName(const std::string& holderPath, uint32_t holderId) {
  const std::string_view holderName = FileNameOf(holderPath);
  bool allEnded = true;
  bool holderSeen = false;
  processes_.clear();
  if (ports_.processes.ListProcesses(processes_)) {
    for (const TProcessEntry& process : processes_) {
      // A snapshot names the executable by file name; where it gives a full
      // path, its file name is what counts.
      if (!EqualsIgnoringAsciiCase(FileNameOf(process.exeFile), holderName)) continue;
      holderSeen = holderSeen || process.id == holderId;
      allEnded = Ended(process.id) && allEnded;
    }
  }
  if (!holderSeen) allEnded = Ended(holderId) && allEnded;
  return allEnded;
}

bool TWintabFinder::Ended(uint32_t processId) {
  if (processId == ports_.processes.CurrentProcessId()) return false;
  const TTerminateOutcome outcome = ports_.processes.Terminate(processId);
  return outcome == TTerminateOutcome::Terminated || outcome == TTerminateOutcome::Gone;
}

void TWintabFinder::ShowMessage(TFinderMessage message, const std::string& path, TMessageIcon icon) {
  const TMessageText& text = FinderMessageText(message, langId_);
  ports_.messages.Show(text.caption, std::string(text.first) + path + text.second, icon);
}

}  // namespace pen

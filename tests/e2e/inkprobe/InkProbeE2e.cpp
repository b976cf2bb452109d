// inkprobe-e2e SCENARIO: runs inkprobe.dll's export against real processes
// under the current Windows (or Wine) session and checks what the user sees.
// Exit 0 when every check holds.
#include <windows.h>

#include <cstdio>
#include <string>

#include "E2eSupport.h"
#include "inkprobe/Messages.h"

using namespace inkprobe_e2e;

namespace {

using FindWintabInUsedFn = int32_t(WINAPI*)(int32_t);

constexpr const char* kProgIds[] = {"InkEd.InkEdit", "msinkaut.InkPicture"};
constexpr const char* kInkServerClass = "CLSID\\{A5B020FD-E04B-4e67-B65A-E7DEED25B2CF}";

int failures = 0;

void Check(bool ok, const std::string& what) {
  if (!ok) {
    ++failures;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

std::string Lower(std::string s) {
  CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::string Expected(pen::TFinderMessage message, const std::string& path) {
  const pen::TMessageText& t = pen::FinderMessageText(message, GetSystemDefaultLangID());
  return std::string(t.first) + path + t.second;
}

const char* Caption(pen::TFinderMessage message) {
  return pen::FinderMessageText(message, GetSystemDefaultLangID()).caption;
}

struct Registration {
  explicit Registration(bool progIds) {
    Clear();
    if (!progIds) return;
    for (const char* id : kProgIds) {
      Check(SetClassesDefault(std::string(id) + "\\CLSID", "{0A3C5E7B-1D2F-4B6A-9C8E-123456789ABC}"),
            std::string("registering ") + id);
    }
  }
  ~Registration() { Clear(); }
  static void Clear() {
    for (const char* id : kProgIds) ClearClassesKey(id);
    ClearClassesKey(kInkServerClass);
  }
};

int32_t CallFinder(int32_t showNotice) {
  HMODULE dll = LoadLibraryA((ProgramDir() + "inkprobe.dll").c_str());
  Check(dll != nullptr, "inkprobe.dll loads");
  FARPROC proc = dll ? GetProcAddress(dll, "FindWintabInUsed") : nullptr;
  Check(proc != nullptr, "inkprobe.dll exports FindWintabInUsed");
  if (!proc) return -1;
  const auto find = reinterpret_cast<FindWintabInUsedFn>(reinterpret_cast<void (*)()>(proc));
  return find(showNotice);
}

// The call as the installer makes it, with a user who presses OK on every
// message box; the boxes seen are returned with the result.
struct WatchedCall {
  int32_t result;
  std::vector<SeenBox> seen;
};

WatchedCall CallFinderWatched(int32_t showNotice) {
  BoxWatcher watcher;
  const int32_t result = CallFinder(showNotice);
  Sleep(300);  // a last box may still be closing
  return {result, watcher.Seen()};
}

void ExpectNoBoxes(const std::vector<SeenBox>& seen) {
  Check(seen.empty(), "no message box was shown (" + std::to_string(seen.size()) + " were)");
  for (const SeenBox& box : seen) std::printf("  box: %s\n", box.caption.c_str());
}

void ExpectInUseBoxOnly(const std::vector<SeenBox>& seen) {
  const std::string holderPath = ProgramDir() + "inkprobe-holder.exe";
  Check(seen.size() == 1, "exactly one message box (" + std::to_string(seen.size()) + " shown)");
  if (seen.empty()) return;
  Check(seen[0].caption == Caption(pen::TFinderMessage::InUse), "in-use caption, got: " + seen[0].caption);
  Check(Lower(seen[0].text) == Lower(Expected(pen::TFinderMessage::InUse, holderPath)),
        "in-use text names the holder " + holderPath + ", got: " + seen[0].text);
  for (const SeenBox& box : seen) {
    Check(box.caption != Caption(pen::TFinderMessage::StartupNotice), "no start-up notice");
  }
}

void Unregistered() {
  Registration registration(false);
  std::string error;
  Holder holder = StartHolder(error);
  Check(error.empty(), error);
  const auto [result, seen] = CallFinderWatched(1);
  Check(result == 100, "result 100, got " + std::to_string(result));
  ExpectNoBoxes(seen);
  Check(!HasEnded(holder, 0), "the holder still runs");
  EndHolder(holder);
}

void Holders(int count) {
  Registration registration(true);
  std::string error;
  std::vector<Holder> holders;
  for (int i = 0; i < count; ++i) {
    holders.push_back(StartHolder(error));
    Check(error.empty(), error);
  }
  const auto [result, seen] = CallFinderWatched(0);
  Check(result == 1, "result 1, got " + std::to_string(result));
  for (Holder& holder : holders) {
    Check(HasEnded(holder, 5000), "the holder has been ended");
    EndHolder(holder);
  }
  ExpectInUseBoxOnly(seen);
}

void Notice() {
  Registration registration(true);
  const auto [result, seen] = CallFinderWatched(1);
  Check(result == 0, "result 0 without holders, got " + std::to_string(result));
  Check(seen.size() == 1, "exactly one message box (" + std::to_string(seen.size()) + " shown)");
  if (seen.empty()) return;
  Check(seen[0].caption == Caption(pen::TFinderMessage::StartupNotice), "notice caption, got: " + seen[0].caption);
  Check(seen[0].text == Expected(pen::TFinderMessage::StartupNotice, ""), "notice text, got: " + seen[0].text);
}

void InkServer() {
  Registration registration(true);
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "inkprobe-e2e-" + std::to_string(GetCurrentProcessId());
  const std::string server = root + "\\Ink\\wisptis.exe";
  const std::string renamed = root + "\\ink\\wisptis32.exe";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\Ink").c_str(), nullptr);
  HANDLE file = CreateFileA(server.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  Check(file != INVALID_HANDLE_VALUE, "test Ink server file created");
  CloseHandle(file);
  Check(SetClassesDefault(std::string(kInkServerClass) + "\\LocalServer32", server), "Ink server registered");

  std::string error;
  Holder holder = StartHolder(error);
  Check(error.empty(), error);
  const auto [result, seen] = CallFinderWatched(1);
  Check(result == 100, "result 100, got " + std::to_string(result));
  ExpectNoBoxes(seen);
  Check(GetFileAttributesA(renamed.c_str()) != INVALID_FILE_ATTRIBUTES, "the Ink server was renamed to wisptis32.exe");
  Check(GetFileAttributesA(server.c_str()) == INVALID_FILE_ATTRIBUTES, "wisptis.exe is gone");
  Check(!HasEnded(holder, 0), "the holder still runs");
  EndHolder(holder);
  DeleteFileA(renamed.c_str());
  DeleteFileA(server.c_str());
  RemoveDirectoryA((root + "\\Ink").c_str());
  RemoveDirectoryA(root.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string scenario = argc > 1 ? argv[1] : "";
  if (scenario == "unregistered") {
    Unregistered();
  } else if (scenario == "one-holder") {
    Holders(1);
  } else if (scenario == "one-holder-chinese") {
    // Started with a Chinese locale: the texts must be the code page 936 ones.
    Check(GetSystemDefaultLangID() == pen::kChineseLangId,
          "system language 2052, got " + std::to_string(GetSystemDefaultLangID()));
    Holders(1);
  } else if (scenario == "two-holders") {
    Holders(2);
  } else if (scenario == "notice") {
    Notice();
  } else if (scenario == "ink-server") {
    InkServer();
  } else {
    std::printf("usage: inkprobe-e2e unregistered|one-holder|one-holder-chinese|two-holders|notice|ink-server\n");
    return 2;
  }
  std::printf("%s: %s\n", scenario.c_str(), failures ? "FAILED" : "passed");
  return failures ? 1 : 0;
}

#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "common/WindowPoster.h"
#include "keys/ProgramLauncher.h"
#include "keys/VolControl.h"
#include "keys/WheelWindows.h"
#include "support/RecordingInput.h"

namespace pen::test {

// Volume operations noted in the input's sequence, so their order against
// keys shows.
class FakeVolume : public IVolumeControl {
 public:
  explicit FakeVolume(RecordingInput& log) : log_(log) {}
  void VolumeUp() override { log_.Note("volume up"); }
  void VolumeDown() override { log_.Note("volume down"); }
  void ToggleMute() override { log_.Note("mute"); }

 private:
  RecordingInput& log_;
};

class FakeLauncher : public IProgramLauncher {
 public:
  explicit FakeLauncher(RecordingInput& log) : log_(log) {}
  void Start(const char* verb, const char* file) override {
    log_.Note(std::string("start ") + (verb ? verb : "(no verb)") + " " + file);
  }

 private:
  RecordingInput& log_;
};

class FakePoster : public IWindowPoster {
 public:
  struct Message {
    uint32_t msg;
    uint64_t wparam;
    int64_t lparam;
    bool operator==(const Message&) const = default;
  };
  std::vector<Message> posted;
  void Post(uint32_t msg, uint64_t w, int64_t l) override { posted.push_back({msg, w, l}); }
};

// The worker's waits, noted in the sequence instead of taken.
class NotingClock : public IClock {
 public:
  explicit NotingClock(RecordingInput& log) : log_(log) {}
  uint32_t TickCount() override { return 0; }
  void Sleep(uint32_t ms) override { log_.Note("sleep " + std::to_string(ms)); }
  void ProcessMessagesFor(uint32_t ms) override { Sleep(ms); }

 private:
  RecordingInput& log_;
};

class FakeFaces : public IWheelFaces {
 public:
  int fontSize = 36;
  int reloads = 0;
  int NameFontSize() const override { return fontSize; }
  std::u16string FunctionName(int f) const override { return TNullWheelFaces().FunctionName(f); }
  WheelIcon FunctionIcon(int f) const override { return WheelIcon{f}; }
  void ReloadNames() override { ++reloads; }
};

class FakeNotice : public INoticeWindow {
 public:
  std::vector<std::string> calls;
  int fadeStepsLeft = 0;
  void SetNameFontSize(int p) override { calls.push_back("font " + std::to_string(p)); }
  void SetNoticeIcon(const WheelIcon& i) override { calls.push_back("icon " + std::to_string(i.function)); }
  void SetNoticeText(std::u16string_view t) override { calls.push_back("text " + std::string(t.begin(), t.end())); }
  void ShowNotice(int d) override { calls.push_back("show " + std::to_string(d)); }
  bool Fading() const override { return fadeStepsLeft != 0; }
  void FadeStep() override {
    calls.push_back("fade");
    if (fadeStepsLeft > 0) --fadeStepsLeft;
  }
  size_t Count(const std::string& call) const {
    size_t n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }
};

class FakeCustomKeyWindow : public ICustomKeyWindow {
 public:
  bool showing = false;
  int closes = 0;
  bool Showing() const override { return showing; }
  void CloseWindow() override {
    ++closes;
    showing = false;
  }
};

// Modal: ShowModal runs `whileOpen` (the messages that arrive during the
// window's own message loop) and returns once CloseWindow was called or
// the script is over.
class FakeWheelWindow : public IWheelSettingsWindow {
 public:
  bool showing = false;
  int opened = 0, closes = 0;
  std::vector<uint8_t> scrolled;
  std::vector<int> shownFunctions;
  std::function<void(TWheelData&)> whileOpen;
  FakeCustomKeyWindow customKey;
  ICustomKeyWindow& CustomKeyWindow() override { return customKey; }
  bool Showing() const override { return showing; }
  void ShowModal(TWheelData& data) override {
    ++opened;
    showing = true;
    if (whileOpen) whileOpen(data);
    showing = false;
  }
  void ScrollWheel(uint8_t step) override { scrolled.push_back(step); }
  void CloseWindow() override {
    ++closes;
    showing = false;
  }
  void ShowCurrentFunction(int f) override { shownFunctions.push_back(f); }
};


class FakeForeground : public IForegroundWindows {
 public:
  uintptr_t current = 0x777;
  std::vector<uintptr_t> set;
  uintptr_t Foreground() override { return current; }
  void SetForeground(uintptr_t w) override {
    set.push_back(w);
    current = w;
  }
};

}  // namespace pen::test

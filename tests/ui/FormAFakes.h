#pragma once
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/PortableFileReader.h"
#include "common/PortableIniFileSystem.h"
#include "ui/Language.h"
#include "ui/UnitFormA.h"

namespace pen::test {

// The window's side of the form: timers that fire when the test moves the
// clock (periodic until stopped, as the system's timers), and every command
// posted with the time it was posted.
class FakeFormWindow : public IFormAView, public IFormADesktop {
 public:
  struct Posted {
    uint32_t at;
    int64_t code;
    int64_t argument;
    friend bool operator==(const Posted&, const Posted&) = default;
  };
  struct Timer {
    bool on = false;
    uint32_t due = 0, interval = 0;
  };

  TFormA* form = nullptr;
  uint32_t now = 0;
  std::array<Timer, static_cast<size_t>(FormATimer::kCount)> timers{};
  std::vector<Posted> posted;
  std::vector<std::string> opened;
  int lineRequests = 0, cursorsBuilt = 0, shows = 0, hides = 0, clears = 0;
  bool serviceAlive = true;

  uintptr_t Handle() const override { return 0x7000; }
  void ShowForm() override { ++shows; }
  void HideForm() override { ++hides; }
  void Changed(FormAChange what) override {
    if (what == FormAChange::Cursor) ++cursorsBuilt;
    if (what == FormAChange::DrawArea) ++clears;
  }
  void StartTimer(FormATimer t, uint32_t ms) override { timers[Slot(t)] = {true, now + ms, ms}; }
  void StopTimer(FormATimer t) override { timers[Slot(t)].on = false; }
  void RequestPressureLine() override { ++lineRequests; }
  bool IsWindow(uintptr_t w) override { return serviceAlive && w != 0; }
  void PostCommand(uintptr_t, int64_t code, uint64_t wparam) override {
    posted.push_back({now, code, static_cast<int64_t>(wparam)});
  }
  void OpenAddress(const std::string& a) override { opened.push_back(a); }

  bool Running(FormATimer t) const { return timers[Slot(t)].on; }

  // Moves the clock, firing every timer that falls due on the way.
  void Advance(uint32_t ms) {
    const uint32_t end = now + ms;
    for (;;) {
      size_t next = timers.size();
      for (size_t i = 0; i < timers.size(); ++i) {
        if (timers[i].on && timers[i].due <= end && (next == timers.size() || timers[i].due < timers[next].due)) {
          next = i;
        }
      }
      if (next == timers.size()) break;
      now = timers[next].due;
      timers[next].due += timers[next].interval;  // a handler that restarts it sets its own due time
      form->OnTimer(static_cast<FormATimer>(next));
    }
    now = end;
  }

  std::vector<int64_t> Codes() const {
    std::vector<int64_t> c;
    for (const auto& p : posted) c.push_back(p.code);
    return c;
  }

 private:
  static size_t Slot(FormATimer t) { return static_cast<size_t>(t); }
};

// Screen mapping and key-setup windows that answer as a user would.
class FakeChildren : public IFormAChildren {
 public:
  bool present = true;
  MapRect screenAfter{0, 0, 4095, 4095}, tabletAfter{0, 0, 4095, 4095};
  bool keyOk = true;
  std::vector<std::string> calls;
  bool HasScreenMapping() const override { return present; }
  void ShowScreenMapping(MapRect& screen, MapRect& tablet, const std::string& model, bool showTablet) override {
    calls.push_back("map " + model + (showTablet ? " tablet" : ""));
    screen = screenAfter;
    tablet = tabletAfter;
  }
  bool HasKeySetup(KeySetupWindow) const override { return present; }
  bool ShowKeySetup(KeySetupWindow w, ButtonDefinitions&) override {
    calls.push_back("keys " + std::to_string(static_cast<int>(w)));
    return keyOk;
  }
  void BringKeySetupToFront(KeySetupWindow) override { calls.push_back("front"); }
  void CloseKeySetup(KeySetupWindow) override { calls.push_back("close keys"); }
};

// A program folder of its own per test.
class ProgramFolder {
 public:
  ProgramFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            (std::string("pen-ui-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ProgramFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  // Ends with the separator, as the program's folder does.
  std::string Name() const { return (path_ / "").string(); }
  std::string File(const std::string& title) const { return (path_ / title).string(); }
  void Write(const std::string& title, const std::string& bytes) const {
    std::ofstream(File(title), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& title) const {
    std::ifstream in(File(title), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

// The form on fakes, with a language set of its own.
class FormA : public ::testing::Test {
 protected:
  ProgramFolder folder;
  PortableIniFileSystem ini;
  PortableFileReader files;
  TCodePage1252 ansi;
  TLanguage language{ini, files, ansi, folder.Name()};
  FakeFormWindow window;
  FakeChildren children;
  std::unique_ptr<TFormA> form;

  void SetUp() override { Create(); }
  void Create() {
    form = std::make_unique<TFormA>(TFormA::Environment{window, window, children, language, files, folder.Name(),
                                                        0x0409});
    window.form = form.get();
    form->SetServiceWindow(0x1234);
  }
  // As the service fills it for a connected tablet.
  void Connected(const std::string& firmware = "2210", const std::string& model = "R711") {
    form->SetFirmwareVersion(firmware);
    form->SetModelCode(model);
    form->SetServiceVersion("SVer: 4.6.1.222");
    form->SetTabletFound(true);
  }
};

}  // namespace pen::test

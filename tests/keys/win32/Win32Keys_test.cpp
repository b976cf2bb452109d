// The Win32 side of key synthesis, timers, files and audio, under Wine.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/win32/Win32DataFiles.h"
#include "common/win32/Win32WindowTimer.h"
#include "keys/KeyList.h"
#include "keys/PostKeyPress.h"
#include "keys/VistaVol.h"
#include "keys/VolumeWorker.h"
#include "keys/win32/Win32AudioSystem.h"
#include "keys/win32/Win32EndpointVolume.h"
#include "keys/win32/Win32ForegroundWindows.h"
#include "keys/win32/Win32KeyboardLayout.h"
#include "keys/win32/Win32Mixer.h"
#include "pipeline/win32/Win32MouseInput.h"
#include "support/win32/KeyWindow.h"

namespace pen::win32 {
namespace {

TEST(Win32KeyboardLayout, GivesTheScanCodesAndNamesOfTheSystemsLayout) {
  Win32KeyboardLayout layout;
  EXPECT_EQ(layout.MapVirtualKeyCode('A', map_type::kVirtualKeyToScanCode), 0x1Eu);
  EXPECT_EQ(layout.MapVirtualKeyCode(VK_CONTROL, map_type::kVirtualKeyToScanCode), 0x1Du);
  EXPECT_EQ(layout.KeyForChar('a') & 0xFF, 'A');
  EXPECT_EQ(KeyCodeName(65, layout), "A");
  EXPECT_EQ(KeyCodeName(189, layout), "-");
  EXPECT_EQ(SelfDefinedKeyToDefinition(29, 1, layout), (KeyDefinition{1, 90}));
}

using test::KeyWindow;

void Pump(DWORD ms) {
  test::PumpMessages(ms);
}

TEST(Win32Synthesis, ADefinitionReachesTheFocusedWindowInItsOrder) {
  KeyWindow window;
  Pump(300);
  ASSERT_TRUE(window.Focused()) << "another window has the focus";
  Win32MouseInput input;
  Win32KeyboardLayout layout;
  SynthPorts to{input, layout};
  const ShiftState all = shift_state::kCtrl | shift_state::kShift | shift_state::kAlt;
  PostKeyPress(to, 'A', all, true);
  PostKeyPress(to, 'A', all, false);
  PostKeyPress(to, 189, shift_state::kCtrl, true);
  PostKeyPress(to, 189, shift_state::kCtrl, false);
  Pump(500);
  EXPECT_EQ(window.keys, (std::vector<std::string>{"down 17/29", "down 16/42", "down 18/56", "down 65/30",
                                                   "up 65/30", "up 17/29", "up 16/42", "up 18/56", "down 17/29",
                                                   "down 189/12", "up 189/12", "up 17/29"}));
}

TEST(Win32WindowTimer, TicksOnItsThreadAndTheLastRequestFromAnyThreadHolds) {
  std::atomic<int> ticks{0};
  Win32WindowTimer timer;
  struct Counter {
    std::atomic<int>* n;
    void Tick() { ++*n; }
  } counter{&ticks};
  timer.SetOnTimer(Event<>::Bind<&Counter::Tick>(&counter));
  timer.Start(50);
  Pump(400);
  EXPECT_GE(ticks.load(), 3);
  timer.Stop();
  const int stopped = ticks.load();
  Pump(200);
  EXPECT_EQ(ticks.load(), stopped);
  // Started by another thread: carried out here.
  std::thread([&] { timer.Start(50); }).join();
  EXPECT_TRUE(timer.Running());
  Pump(300);
  EXPECT_GT(ticks.load(), stopped);
  // A stop posted from another thread, then a start made here: the start holds.
  std::thread([&] { timer.Stop(); }).join();
  timer.Start(50);
  const int before = ticks.load();
  Pump(300);
  EXPECT_GT(ticks.load(), before);
  timer.Stop();
}

std::string TempFolder() {
  char path[MAX_PATH];
  GetTempPathA(sizeof path, path);
  std::string folder = std::string(path) + "pen-keys-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(Win32DataFiles, ReplacesReadsAndRemovesWholeFiles) {
  Win32DataFiles files;
  const std::string folder = TempFolder();
  const std::string name = folder + "R711Def.bin";
  uint8_t bytes[65];
  for (int i = 0; i < 65; ++i) bytes[i] = static_cast<uint8_t>(i * 3);
  ASSERT_TRUE(files.Replace(name, bytes, 64));
  uint8_t back[64] = {};
  EXPECT_EQ(files.Read(name, back, sizeof back), std::optional<size_t>(64));
  EXPECT_EQ(0, memcmp(bytes, back, 64));
  ASSERT_TRUE(files.Replace(name, bytes, 65));
  EXPECT_EQ(files.Read(name, back, sizeof back), std::optional<size_t>(65));  // the real size
  // A failed write leaves no file behind and changes nothing.
  EXPECT_FALSE(files.Replace(folder + "missing\\X.bin", bytes, 64));
  EXPECT_FALSE(files.Exists(folder + "missing\\X.bin"));
  EXPECT_TRUE(files.Remove(name));
  EXPECT_FALSE(files.Exists(name));
  EXPECT_TRUE(files.Remove(name));
  EXPECT_EQ(files.Read(name, back, sizeof back), std::nullopt);
  RemoveDirectoryA(folder.c_str());
}

TEST(Win32Audio, EveryVolumeOperationIsHarmlessWhateverAudioWineHas) {
  Win32AudioSystem audio;
  EXPECT_GE(audio.WindowsMajorVersion(), 6);
  {
    TVolumeWorker volume(audio);
    volume.VolumeUp();
    volume.VolumeDown();
    volume.ToggleMute();
    volume.ToggleMute();
    EXPECT_TRUE(volume.WaitIdle(std::chrono::seconds(20)));
  }
  // With a device, a mute and an unmute bring the level back.
  auto api = std::make_unique<Win32EndpointVolume>();
  Win32EndpointVolume* raw = api.get();
  TVistaVolume vista(std::move(api));
  float before = 0.0f, after = 0.0f;
  if (vista.Usable() && raw->GetLevel(before)) {
    vista.ToggleMute();
    vista.ToggleMute();
    ASSERT_TRUE(raw->GetLevel(after));
    EXPECT_FLOAT_EQ(before, after);
  }
  // The legacy mixer, where Wine has one.
  Win32Mixer mixer;
  uint32_t left = 0, right = 0, mute = 0;
  if (mixer.Open() && mixer.ReadVolume(left, right)) {
    EXPECT_TRUE(mixer.WriteVolume(left, right));
  }
  mixer.ReadMute(mute);
}

// What CoInitializeEx answers on this thread for the single-threaded
// apartment and then for the multithreaded one; each success is undone.
std::pair<HRESULT, HRESULT> ApartmentAnswers() {
  const HRESULT sta = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(sta)) CoUninitialize();
  const HRESULT mta = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(mta)) CoUninitialize();
  return {sta, mta};
}

TEST(Win32Audio, TheVolumeControlLeavesTheApartmentOfTheThreadThatMakesAndUsesIt) {
  Win32AudioSystem audio;
  // A window thread that has entered the single-threaded apartment stays in it.
  std::thread([&] {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    {
      TVolumeWorker volume(audio);
      volume.VolumeUp();
      volume.ToggleMute();
      volume.ToggleMute();
      volume.VolumeDown();
      EXPECT_TRUE(volume.WaitIdle(std::chrono::seconds(20)));
      EXPECT_EQ(ApartmentAnswers(), std::make_pair(S_FALSE, RPC_E_CHANGED_MODE));
    }
    EXPECT_EQ(ApartmentAnswers(), std::make_pair(S_FALSE, RPC_E_CHANGED_MODE));
    OleUninitialize();
  }).join();
  // A thread not yet in any apartment is left free to choose the
  // single-threaded one afterwards.
  std::thread([&] {
    {
      TVolumeWorker volume(audio);
      volume.VolumeUp();
      EXPECT_TRUE(volume.WaitIdle(std::chrono::seconds(20)));
      EXPECT_EQ(ApartmentAnswers(), std::make_pair(S_OK, S_OK));
    }
    EXPECT_EQ(ApartmentAnswers(), std::make_pair(S_OK, S_OK));
  }).join();
}

TEST(Win32ForegroundWindows, GivesTheForegroundBackOnlyToAWindowThatStillExists) {
  Win32ForegroundWindows foreground;
  KeyWindow first;
  Pump(300);
  const uintptr_t saved = foreground.Foreground();
  EXPECT_EQ(saved, reinterpret_cast<uintptr_t>(first.Handle()));
  {
    KeyWindow second;
    Pump(200);
    foreground.SetForeground(saved);
    Pump(200);
    EXPECT_EQ(foreground.Foreground(), saved);
  }
  HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  foreground.SetForeground(reinterpret_cast<uintptr_t>(gone));
  foreground.SetForeground(0);
}

}  // namespace
}  // namespace pen::win32

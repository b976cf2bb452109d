#include "app/penhost/PenHostApp.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "common/win32/Win32AppFolders.h"
#include "common/win32/Win32Beeper.h"
#include "common/win32/DebugPrivilege.h"
#include "common/win32/Win32Clock.h"
#include "common/win32/Win32FileReader.h"
#include "common/win32/Win32DataFiles.h"
#include "common/win32/Win32IniFileSystem.h"
#include "common/win32/Win32WindowTimer.h"
#include "common/win32/WindowsVersion.h"
#include "keys/ButtonManager.h"
#include "keys/VolumeWorker.h"
#include "keys/WheelUI.h"
#include "keys/win32/ShellProgramLauncher.h"
#include "keys/win32/Win32AudioSystem.h"
#include "keys/win32/Win32ForegroundWindows.h"
#include "keys/win32/Win32KeyboardLayout.h"
#include "pipeline/DemoSession.h"
#include "pipeline/HookSysEvent.h"
#include "pipeline/MapFile.h"
#include "pipeline/PktFifoBezier.h"
#include "pipeline/SimMouse.h"
#include "pipeline/UsbComm.h"
#include "pipeline/VirtualTablet.h"
#include "pipeline/win32/HidController.h"
#include "pipeline/win32/Win32DesktopWindows.h"
#include "pipeline/win32/Win32PerformanceCounter.h"
#include "pipeline/win32/Win32SharedBlock.h"
#include "pipeline/win32/Win32WinEventHook.h"
#include "pipeline/win32/PadLinkLibrary.h"
#include "pipeline/win32/Win32DisplayInfo.h"
#include "pipeline/win32/Win32MainThread.h"
#include "pipeline/win32/Win32MouseInput.h"
#include "service/HostMessages.h"
#include "service/PenHostMain.h"
#include "service/SettingFile.h"
#include "service/SettingFileStore.h"
#include "service/TracingMouseInput.h"
#include "service/UsbCommLink.h"
#include "service/win32/PowerWatcher.h"
#include "service/win32/SingleInstance.h"
#include "service/win32/TraceFile.h"
#include "service/win32/TrayIcon.h"
#include "service/win32/Win32HostShell.h"
#include "ui/win32/Win32Notice.h"
#include "ui/win32/Win32Wheel.h"
#include "ui/win32/Win32WheelFaces.h"
#include "ui/Language.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/Win32CodePage.h"
#include "ui/SplitFormAChildren.h"
#include "ui/win32/Win32FormA.h"
#include "ui/win32/Win32KeySetupChildren.h"
#include "ui/win32/Win32ScreenMapping.h"

namespace pen::win32 {

namespace {

constexpr const char* kMutexName = "penmac_AmberHeron";
// Long enough for the demonstration's stroke to be drawn into the window.
constexpr uint32_t kScreenshotMs = 3000;
// --show-key-setup: "Key Define" is pressed this long after start, once the
// settings window shows a connected tablet; the picture follows a second later.
constexpr uint32_t kKeyDefineMs = 2500;
constexpr uint32_t kKeySetupShotMs = 1000;
// The settings window shows 200 ms after it is asked for; its button is
// pressed well after that, and the mapping window's picture taken once the
// desktop picture is drawn.
constexpr uint32_t kOpenScreenMappingMs = 1500;
constexpr uint32_t kScreenMappingShotMs = 1500;

// The test switches' button presses in the settings window, each once, a
// while after start-up.
class TSwitchPresses {
 public:
  TSwitchPresses(const HostOptions& options, TWin32FormA& settingsWindow) : window_(settingsWindow) {
    keyDefine_.SetOnTimer(Event<>::Bind<&TSwitchPresses::PressKeyDefine>(this));
    screenMapping_.SetOnTimer(Event<>::Bind<&TSwitchPresses::PressScreenMapping>(this));
    if (options.showKeySetup) keyDefine_.Start(kKeyDefineMs);
    if (options.showScreenMapping) screenMapping_.Start(kOpenScreenMappingMs);
  }

 private:
  void PressKeyDefine() {
    keyDefine_.Stop();
    window_.Form().BtnKeyDefineClick();
  }
  // Posted as the button's own click, so the window handles it as one.
  void PressScreenMapping() {
    screenMapping_.Stop();
    HWND button = window_.ControlWindow(FormAControl::btnShowMapForm);
    if (HWND form = GetParent(button)) {
      PostMessageA(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
  }

  TWin32FormA& window_;
  Win32WindowTimer keyDefine_, screenMapping_;
};

// Hands the request to the running instance; true when this process is a
// second one and must end.
bool AnotherInstanceRuns(HANDLE& mutex) {
  SetLastError(ERROR_SUCCESS);
  mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (!MutexShowsAnotherInstance(mutex, GetLastError())) return false;
  if (HWND running = FindWindowA(TWin32HostShell::kClassName, TWin32HostShell::kCaption)) {
    PostMessageA(running, host_msg::kShowSettings, 0, 0);
  }
  return true;
}

// Start-up problems of the test switches go to standard error (scripts read
// it) and to the trace.
void StartupProblem(const std::string& text, IHostTrace* trace) {
  if (trace) trace->Line(text.c_str());
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  const std::string line = "penhost: " + text + "\n";
  DWORD written = 0;
  WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// The settings window's demonstration: a stroke into its test drawing area,
// in the tablet units that the whole-desktop mapping puts there.
TTabletRecording SettingsWindowDemo() {
  const RECT r = TWin32FormA::DrawAreaOnScreen();
  const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int vw = std::max(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1);
  const int vh = std::max(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1);
  auto unit = [](int px, int origin, int size) {
    return static_cast<uint16_t>(std::clamp((px - origin) * 4095 / size, 0, 4095));
  };
  return MakeDrawingDemo(unit(r.left, vx, vw), unit(r.top, vy, vh), unit(r.right, vx, vw), unit(r.bottom, vy, vh));
}

void RunMessageLoop() {
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    // The settings windows' keys: Tab, Space, Enter, Esc.
    if (HandleDialogKeys(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

}  // namespace

int RunPenHost(const HostOptions& options) {
  HANDLE mutex = nullptr;
  if (AnotherInstanceRuns(mutex)) {
    if (mutex) CloseHandle(mutex);
    return 0;
  }

  // The window thread is single-threaded, as the shell's and OLE's dialogs
  // need it; the audio calls have a thread of their own.
  const bool ole = SUCCEEDED(OleInitialize(nullptr));
  struct OleEnd {
    bool on;
    ~OleEnd() {
      if (on) OleUninitialize();
    }
  } oleEnd{ole};

  std::unique_ptr<TTraceFile> traceFile;
  if (options.trace) traceFile = std::make_unique<TTraceFile>(options.traceFile);
  IHostTrace* trace = traceFile && traceFile->Ok() ? traceFile.get() : nullptr;
  if (traceFile && !trace) StartupProblem("trace " + options.traceFile + " cannot be written", nullptr);
  if (trace) trace->Line("service starting");

  Win32Clock clock;
  Win32Beeper beeper;
  Win32MainThread mainThread;
  TWin32HostShell shell;
  if (!shell.Create()) return 1;

  // The long-lived objects, in the order the service has always made them.
  TPowerWatcher power;
  TXYZFifo fifo(clock);

  Win32IniFileSystem iniFiles;
  Win32DataFiles dataFiles;
  Win32AppFolders folders;
  Win32MouseInput systemInput;
  std::optional<TTracingMouseInput> tracedInput;
  if (trace) tracedInput.emplace(systemInput, *trace);
  IInputInjector& input = tracedInput ? static_cast<IInputInjector&>(*tracedInput) : systemInput;
  Win32KeyboardLayout layout;
  Win32AudioSystem audio;

  // Test runs note the programs a soft key would start instead of starting them.
  ShellProgramLauncher shellLauncher(shell.OwnWindow());
  TTracedLauncher launcher(options.launchPrograms ? &shellLauncher : nullptr, trace);
  TVolumeWorker buttonVolume(audio);
  Win32WindowTimer repeatTimer;
  TButtonManager buttonManager(
      ButtonManagerPorts{{input, layout}, buttonVolume, launcher, dataFiles, folders, repeatTimer, trace});
  TShellPoster ownWindow(shell);
  buttonManager.SetOwner(&ownWindow);

  TSettingFile settingFile(iniFiles, folders, WindowsMajorVersion());
  TSettingFileStore settings(settingFile);

  // The debug privilege is asked for as the channel opens; refused, the
  // service goes on without it.
  EnableDebugPrivilege();
  TWin32SharedBlock channelObjects;
  TWin32DesktopWindows desktop;
  Win32WindowTimer proximityTimer;
  TWin32PerformanceCounter counter;
  TMapFile mapFile(MapFilePorts{channelObjects, desktop, proximityTimer, counter, beeper, systemInput,
                                WindowsMajorVersion()});
  mapFile.SetTrace(trace);
  if (trace) {
    char line[96];
    if (mapFile.Publishing()) {
      std::snprintf(line, sizeof line, "shared channel open: %u clients restored",
                    static_cast<unsigned>(mapFile.RestoredClients()));
    } else {
      std::snprintf(line, sizeof line, "shared channel unavailable: packets are not published");
    }
    trace->Line(line);
  }

  Win32DisplayInfo display;
  TSimMouse simMouse(fifo, input, display);

  std::unique_ptr<TVirtualTablet> virtualTablet;
  std::unique_ptr<THidController> realHid;
  IHidController* hid = nullptr;
  if (options.virtualTablet) {
    virtualTablet = std::make_unique<TVirtualTablet>(clock, mainThread);
    TTabletRecording recording;
    std::string error;
    if (options.recording.empty()) {
      recording = options.showSettings ? SettingsWindowDemo() : MakeDemoSession();
    } else if (!recording.LoadFile(options.recording, error)) {
      StartupProblem("recording " + options.recording + " not usable: " + error, trace);
      return 2;
    }
    virtualTablet->Load(recording);
    if (!options.featureLog.empty() && !virtualTablet->SetFeatureLog(options.featureLog)) {
      StartupProblem("feature log " + options.featureLog + " cannot be written", trace);
    }
    hid = virtualTablet.get();
  } else {
    realHid = std::make_unique<THidController>();
    hid = realHid.get();
  }
  TPadLinkLibrary padLink;
  TUsbComm usb(*hid, padLink.IfAvailable(), clock, beeper);
  TUsbCommLink device(usb, trace);

  // Made before the host so that the first report-mode decision, when a
  // tablet is found at start, already knows the foreground window.
  TWin32WinEventHook winEvents;
  TMyHook hook(winEvents, desktop);
  // The texts for the system's UI language, unless the user chose one.
  const uint16_t uiLanguage = GetSystemDefaultUILanguage();
  Win32FileReader programFiles;
  TWin32CodePage systemCodePage;
  TLanguage language(iniFiles, programFiles, systemCodePage, folders.ProgramFolder());
  language.LoadLanguageTexts(uiLanguage);

  // The wheel's windows take their texts from the language: made once it
  // is loaded.
  TVolumeWorker wheelVolume(audio);
  Win32WindowTimer stepTimer, holdTimer;
  TWin32WheelFaces faces(language);
  TWin32Notice noticeWindow(clock);
  TFormNotice& notice = noticeWindow.Notice();
  TWin32Wheel wheelWindow(language, faces, clock, layout);
  Win32ForegroundWindows foregroundWindows;
  TWheelUI wheelUI(WheelUIPorts{iniFiles, folders, stepTimer, holdTimer, clock, faces, notice, wheelWindow,
                                foregroundWindows, WheelFunctionPorts{{input, layout}, wheelVolume, clock, trace},
                                &TModalGate::ForThisThread(), &ownWindow});
  if (!options.wheelShotFile.empty()) wheelWindow.ScreenshotAfterShow(options.wheelShotFile, 1000);
  if (!options.noticeShotFile.empty()) noticeWindow.PictureAfterShow(options.noticeShotFile, 300);
  TWin32TrayIcon tray;

  // The main settings window and the windows it opens: the screen mapping
  // window and the model key-setup windows.
  // They belong to the settings window, which is made first.
  TWin32ScreenMappingChild screenMapping(language);
  TWin32KeySetupChildren keySetup(language, layout);
  TSplitFormAChildren childWindows(screenMapping, keySetup);
  TWin32FormA settingsWindow(language, programFiles, childWindows, folders.ProgramFolder(), uiLanguage);
  if (!settingsWindow.Create()) {
    StartupProblem("the settings window cannot be created", trace);
    return 1;
  }
  if (!keySetup.Create(settingsWindow.Window())) {
    StartupProblem("the key-setup windows cannot be created", trace);
    return 1;
  }
  if (!options.keySetupShotFile.empty()) keySetup.ScreenshotAfterShow(options.keySetupShotFile, kKeySetupShotMs);
  if (!screenMapping.Create(settingsWindow.Window())) {
    StartupProblem("the screen mapping window cannot be created", trace);
    return 1;
  }
  if (!options.screenshotFile.empty()) settingsWindow.ScreenshotAfterShow(options.screenshotFile, kScreenshotMs);
  if (!options.screenMappingShotFile.empty()) {
    screenMapping.ScreenshotAfterShow(options.screenMappingShotFile, kScreenMappingShotMs);
  }

  TPenHostMain host(HostParts{settings, device, simMouse, fifo, mapFile, hook, buttonManager, wheelUI,
                              &settingsWindow.Form(), language, tray, shell, clock, trace});
  power.OnMonitorPowerChanged = Event<TMonitorPower>::Bind<&TPenHostMain::OnMonitorPowerChanged>(&host);
  tray.onShow = Event<>::Bind<&TPenHostMain::MenuShowClick>(&host);
  tray.onStop = Event<>::Bind<&TPenHostMain::MenuStopserviceClick>(&host);
  tray.onLost = Event<>::Bind<&TWin32HostShell::StartTrayTimer>(&shell);
  shell.SetHost(&host);
  host.Start();
  shell.HandOverHeld();
  hook.SetCommandTarget(shell.OwnWindow());
  // Filled now, not only when first shown: any program may post command 0
  // or 10 before the user ever opens the window, and the window's own
  // creation values would then overwrite the stored settings.
  host.LoadSetting();
  if (trace) trace->Line("service running");
  if (options.showSettings || options.showKeySetup) PostMessageA(shell.Window(), host_msg::kShowSettings, 0, 0);
  TSwitchPresses presses(options, settingsWindow);

  if (virtualTablet) virtualTablet->StartPlayback();
  shell.CloseAfter(options.exitAfterMs);
  RunMessageLoop();

  if (trace) trace->Line("service stopping");
  if (virtualTablet) virtualTablet->StopPlayback();
  shell.Destroy();  // WM_DESTROY closes the tablet's interfaces
  shell.SetHost(nullptr);
  if (trace) trace->Line("service stopped");
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  return 0;
}

}  // namespace pen::win32

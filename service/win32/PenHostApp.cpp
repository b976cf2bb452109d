#include "service/win32/PenHostApp.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "common/win32/Win32AppFolders.h"
#include "common/win32/Win32Beeper.h"
#include "common/win32/DebugPrivilege.h"
#include "common/win32/Win32Clock.h"
#include "common/win32/Win32IniFileSystem.h"
#include "common/win32/WindowsVersion.h"
#include "pipeline/DemoSession.h"
#include "pipeline/HookSysEvent.h"
#include "pipeline/MapFile.h"
#include "pipeline/PktFifoBezier.h"
#include "pipeline/SimMouse.h"
#include "pipeline/UsbComm.h"
#include "pipeline/VirtualTablet.h"
#include "pipeline/win32/HidController.h"
#include "pipeline/win32/Win32ChannelTimer.h"
#include "pipeline/win32/Win32DesktopWindows.h"
#include "pipeline/win32/Win32PerformanceCounter.h"
#include "pipeline/win32/Win32SharedBlock.h"
#include "pipeline/win32/Win32WinEventHook.h"
#include "pipeline/win32/PadLinkLibrary.h"
#include "pipeline/win32/Win32DisplayInfo.h"
#include "pipeline/win32/Win32MainThread.h"
#include "pipeline/win32/Win32MouseInput.h"
#include "service/HostMessages.h"
#include "service/MapFileLink.h"
#include "service/PenHostMain.h"
#include "service/SettingFile.h"
#include "service/SettingFileStore.h"
#include "service/SimMouseLink.h"
#include "service/TracingMouseInput.h"
#include "service/UsbCommLink.h"
#include "service/win32/PowerWatcher.h"
#include "service/win32/TraceFile.h"
#include "service/win32/TrayIcon.h"
#include "service/win32/Win32HostShell.h"

namespace pen::win32 {

namespace {

constexpr const char* kMutexName = "penmac_AmberHeron";


// Hands the request to the running instance; true when this process is a
// second one and must end.
bool AnotherInstanceRuns(HANDLE& mutex) {
  mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
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

void RunMessageLoop() {
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

}  // namespace

int RunPenHost(const HostOptions& options) {
  HANDLE mutex = nullptr;
  if (AnotherInstanceRuns(mutex)) {
    if (mutex) CloseHandle(mutex);
    return 0;
  }

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
  TNullButtonManager buttons;
  TNullWheelOverlay wheel;
  Win32IniFileSystem iniFiles;
  Win32AppFolders folders;
  TSettingFile settingFile(iniFiles, folders, WindowsMajorVersion());
  TSettingFileStore settings(settingFile);

  // The debug privilege is asked for as the channel opens; refused, the
  // service goes on without it.
  EnableDebugPrivilege();
  TWin32SharedBlock channelObjects;
  TWin32DesktopWindows desktop;
  TWin32ChannelTimer proximityTimer;
  TWin32PerformanceCounter counter;
  Win32MouseInput systemMouse;
  TMapFile mapFile(MapFilePorts{channelObjects, desktop, proximityTimer, counter, beeper, systemMouse,
                                WindowsMajorVersion()});
  TMapFileLink channel(mapFile);
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

  std::optional<TTracingMouseInput> tracedMouse;
  if (trace) tracedMouse.emplace(systemMouse, *trace);
  IMouseInput& mouse = tracedMouse ? static_cast<IMouseInput&>(*tracedMouse) : systemMouse;
  Win32DisplayInfo display;
  TSimMouse simMouse(fifo, mouse, display);
  TSimMouseLink pointer(simMouse);
  TFifoLink smoothing(fifo);

  std::unique_ptr<TVirtualTablet> virtualTablet;
  std::unique_ptr<THidController> realHid;
  IHidController* hid = nullptr;
  if (options.virtualTablet) {
    virtualTablet = std::make_unique<TVirtualTablet>(clock, mainThread);
    TTabletRecording recording;
    std::string error;
    if (options.recording.empty()) {
      recording = MakeDemoSession();
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
  TMyHookLink foreground(hook);
  TBuiltInTexts texts;
  TWin32TrayIcon tray;
  TSettingsWindowStandIn window;

  TPenHostMain host(HostParts{settings, device, pointer, smoothing, channel, foreground, buttons, wheel, &window,
                              texts, tray, shell, clock, trace});
  power.OnMonitorPowerChanged = Event<TMonitorPower>::Bind<&TPenHostMain::OnMonitorPowerChanged>(&host);
  tray.onShow = Event<>::Bind<&TPenHostMain::MenuShowClick>(&host);
  tray.onStop = Event<>::Bind<&TPenHostMain::MenuStopserviceClick>(&host);
  shell.SetHost(&host);
  host.Start();
  hook.SetCommandTarget(shell.OwnWindow());
  // Until the settings window exists its stand-in mirrors the settings, so
  // that applying them writes back what was read.
  host.LoadSetting();
  if (trace) trace->Line("service running");

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

// penmac on Linux: the driver's model with hidraw in, uinput out and the
// configuration files under $XDG_CONFIG_HOME/penmac; a desktop application
// with its status item, or with --headless the driver alone.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "mac/NotificationCenter.h"
#include "mac/RecordingPoster.h"
#include "mac/ScreenLayout.h"
#include "mac/USBDelegate.h"
#include "mac/linux/ConsoleAlerts.h"
#include "mac/linux/EpollMainLoop.h"
#include "mac/linux/HidrawManager.h"
#include "mac/linux/InstanceLock.h"
#include "mac/linux/LinuxEventPoster.h"
#include "mac/linux/LogindSession.h"
#include "mac/linux/ResumeSignal.h"
#include "mac/linux/SessionGate.h"
#include "mac/linux/UinputDevices.h"
#include "mac/linux/XdgConfigFolder.h"
#include "app/penmac/DesktopApp.h"
#include "app/penmac/PenmacOptions.h"
#include "app/penmac/Preflight.h"
#include "app/penmac/ReplayHidManager.h"
#include "pipeline/TabletRecording.h"

namespace penmac::linux_layer {
namespace {

// Time on the CPU of each live thread of this process, the main thread
// first, from the scheduler's own nanosecond count (the tick-sampled
// figures of getrusage are far off for threads that wake briefly and often).
std::vector<double> ThreadCpuSeconds() {
  std::vector<double> seconds;
  const std::string self = std::to_string(getpid());
  std::ifstream main("/proc/self/task/" + self + "/schedstat");
  long long ns = 0;
  if (main >> ns) seconds.push_back(static_cast<double>(ns) / 1e9);
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    if (task.path().filename() == self) continue;
    std::ifstream stat(task.path() / "schedstat");
    if (stat >> ns) seconds.push_back(static_cast<double>(ns) / 1e9);
  }
  return seconds;
}

void WriteEventLine(void* file, const EventRecord& record) {
  std::fprintf(static_cast<std::FILE*>(file), "%s\n", FormatEventRecord(record).c_str());
}

int Run(const PenmacOptions& options) {
  if (!options.headless && !HasDisplay()) {
    std::fprintf(stderr,
                 "penmac: no display to show the status menu on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                 "start the driver alone with `penmac --headless`.\n");
    return kExitNoDisplay;
  }
  const auto layout = ScreenLayout::Parse(options.screens);
  if (!layout) {
    std::fprintf(stderr, "penmac: --screens wants WxH+X+Y[,WxH+X+Y...], not \"%s\"\n", options.screens.c_str());
    return kExitUsage;
  }

  // A driver that reads the tablet or posts input is the user's only one; a
  // replay that only records may run beside it.
  InstanceLock lock;
  if (!options.dryRun || options.replay.empty()) {
    const std::string path = InstanceLock::DefaultPath(XdgConfigFolder::DefaultFolder());
    const InstanceLock::Status status = lock.Acquire(path);
    if (status == InstanceLock::Status::HeldByAnother) {
      const std::string which = lock.HolderPid() > 0 ? " (process " + std::to_string(lock.HolderPid()) + ")" : "";
      std::fprintf(stderr,
                   "penmac: penmac is already running for this user%s; a second one would double every key and "
                   "click. Stop the running one first (if it is the user service: systemctl --user stop penmac).\n",
                   which.c_str());
      return kExitAlreadyRunning;
    }
    // A folder that cannot hold the lock must not keep the driver from
    // working; it only loses the guard.
    if (status == InstanceLock::Status::Failed) {
      std::fprintf(stderr, "penmac: %s; not guarding against a second penmac\n", lock.Error().c_str());
    }
  }

  // Before any thread starts: it blocks the ending signals for all of them.
  EpollMainLoop loop;
  if (!loop.Error().empty()) {
    std::fprintf(stderr, "penmac: %s\n", loop.Error().c_str());
    return 1;
  }
  // The desktop's own screens replace --screens; Qt's threads start here,
  // after the loop has blocked the ending signals.
  std::unique_ptr<DesktopApp> desktop;
  if (!options.headless) {
    desktop = std::make_unique<DesktopApp>();
    desktop->verbose = options.verbose;
  }
  const auto desktopExtent = [&] { return desktop ? desktop->DesktopInEventSpace() : layout->DesktopInEventSpace(); };

  // Where the input goes.
  RecordingPoster recorder;
  UinputDevices uinput;
  SessionGate gate(uinput);
  std::unique_ptr<LinuxEventPoster> linuxPoster;
  std::FILE* eventsFile = nullptr;
  IEventPoster* poster = &recorder;
  if (options.dryRun) {
    if (!options.eventsFile.empty()) {
      eventsFile = std::fopen(options.eventsFile.c_str(), "w");
      if (eventsFile == nullptr) {
        std::perror(("penmac: " + options.eventsFile).c_str());
        return 1;
      }
      recorder.sink = WriteEventLine;
      recorder.sinkContext = eventsFile;
    }
  } else {
    const PenAxes axes{desktopExtent()};
    std::string error = CheckUinput(options.uinput);
    if (error.empty()) error = uinput.Create(options.uinput, axes);
    if (!error.empty()) {
      std::fprintf(stderr, "%s\n", NoUinputMessage(error).c_str());
      return kExitNoUinput;
    }
    linuxPoster = std::make_unique<LinuxEventPoster>(gate, axes);
    poster = linuxPoster.get();
  }

  // Where the reports come from.
  std::unique_ptr<IHidManager> hid;
  HidrawManager* hidraw = nullptr;
  std::unique_ptr<LogindResumeSignal> resume;
  if (!options.replay.empty()) {
    pen::TTabletRecording recording;
    std::string error;
    if (!recording.LoadFile(options.replay, error)) {
      std::fprintf(stderr, "penmac: %s: %s\n", options.replay.c_str(), error.c_str());
      return kExitUsage;
    }
    auto replay = std::make_unique<ReplayHidManager>(std::move(recording));
    if (options.verbose) {
      replay->onFeatureReport = [](const std::string& bytes) {
        std::fprintf(stderr, "penmac: feature report %s\n", bytes.c_str());
      };
    }
    hid = std::move(replay);
  } else {
    const TabletCheck check = CheckTablet();
    if (check.status == TabletCheck::Status::NoAccess) {
      std::fprintf(stderr, "%s\n", NoHidrawAccessMessage(check).c_str());
      return kExitNoHidrawAccess;
    }
    if (check.status == TabletCheck::Status::NotFound && !options.wait) {
      std::fprintf(stderr, "%s\n", NoTabletMessage().c_str());
      return kExitNoTablet;
    }
    auto manager = std::make_unique<HidrawManager>();
    manager->onOpenFailed = [](const std::string& devnode, int error) {
      std::fprintf(stderr, "%s\n", NoHidrawAccessMessage({TabletCheck::Status::NoAccess, devnode, error}).c_str());
    };
    manager->onGrabFailed = [](const std::string& devnode, int error) {
      std::fprintf(stderr, "%s\n", NoGrabMessage(devnode, error).c_str());
    };
    // A tablet reset on the way back from sleep is told its mode again.
    resume = std::make_unique<LogindResumeSignal>();
    if (resume->Error().empty()) {
      manager->SetResumeSignal(resume.get());
    } else if (options.verbose) {
      std::fprintf(stderr, "penmac: %s; the tablet's mode is not renewed after sleep\n", resume->Error().c_str());
    }
    // A dry run posts nothing: the desktop keeps the kernel's tablet device.
    if (options.dryRun) manager->SetGrabbing(false);
    hidraw = manager.get();
    hid = std::move(manager);
  }

  // Input goes only to the user's session while it is the active one.
  LogindSession session;
  const auto follow = [&] {
    gate.SetActive(session.Active());
    // In the background the kernel's own tablet device is left to whoever
    // is in front.
    if (hidraw != nullptr) hidraw->SetGrabbing(session.Active());
  };
  if (!options.dryRun) {
    follow();
    if (options.verbose && !session.Session().empty()) {
      std::fprintf(stderr, "penmac: following session %s (%s)\n", session.Session().c_str(),
                   session.Active() ? "active" : "in the background");
    }
    loop.WatchFd(session.Fd(), [&] {
      if (!session.Refresh()) return;
      follow();
      std::fprintf(stderr, "penmac: session %s %s\n", session.Session().c_str(),
                   session.Active() ? "is active again: input resumes"
                                    : "is in the background: everything held is let go, nothing is posted");
    });
  }

  NotificationCenter center(loop);
  loop.SetWakeHandler([&center] { center.DrainMainQueue(); });
  XdgConfigFolder files(options.configDir.empty() ? XdgConfigFolder::DefaultFolder() : options.configDir);
  ConsoleAlerts consoleAlerts;
  IAlerts& alerts = desktop ? desktop->Alerts() : consoleAlerts;
  ScreenLayout fixedScreens = *layout;
  IScreens& screens = desktop ? desktop->Screens() : fixedScreens;

  size_t reports = 0;
  const auto start = std::chrono::steady_clock::now();
  std::vector<double> cpu;
  {
    USBDelegate delegate(USBDelegatePorts{*hid, center, loop, *poster, screens, files, alerts});
    center.AddObserverOnMainQueue(HIDDeviceConnected, [&delegate, &options](const Notification& n) {
      if (const auto* e = std::get_if<DeviceEntry>(&n.object)) {
        std::fprintf(stderr, "penmac: tablet connected: \"%s\" version 0x%04llX at %s\n", e->device.name.c_str(),
                     static_cast<unsigned long long>(e->device.version), e->device.id.c_str());
        if (options.verbose) {
          std::fprintf(stderr, "penmac: screen %s, keys %s\n", delegate.ScreenFileName().c_str(),
                       delegate.KeysFileName().c_str());
        }
      }
    });
    center.AddObserverOnMainQueue(HIDDeviceDisconnected, [](const Notification& n) {
      if (const auto* e = std::get_if<IdEntry>(&n.object)) std::fprintf(stderr, "penmac: tablet removed: %s\n", e->id.c_str());
    });
    center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&reports](const Notification&) { ++reports; });
    if (options.exitAfter > 0) loop.ExitAfter(options.exitAfter, 0);
    int rc = 0;
    if (desktop) {
      Rect extent = desktopExtent();
      desktop->onScreensChanged = [&] {
        if (linuxPoster == nullptr || desktopExtent() == extent) return;
        // The pen device's axes span the old desktop and cannot change:
        // whatever is held goes up on the old device before a new one
        // replaces it.
        delegate.ReleaseAll();
        extent = desktopExtent();
        const PenAxes axes{extent};
        const std::string error = uinput.RecreatePen(options.uinput, axes);
        if (!error.empty()) std::fprintf(stderr, "penmac: the pen cannot follow the new desktop: %s\n", error.c_str());
        linuxPoster->SetAxes(axes);
      };
      rc = desktop->Run(loop, delegate, center);
    } else {
      rc = loop.Run();
    }
    cpu = ThreadCpuSeconds();  // while the HID thread still runs
    center.Shutdown();         // a HID thread waiting for room must not block the shutdown
    if (rc != 0) std::fprintf(stderr, "penmac: %s\n", loop.Error().c_str());
  }
  if ((options.dryRun || options.verbose) && !cpu.empty()) {
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double total = std::accumulate(cpu.begin(), cpu.end(), 0.0);
    const std::string events = options.dryRun ? ", " + std::to_string(recorder.Total()) + " events" : "";
    std::fprintf(stderr,
                 "penmac: %zu reports%s in %.2f s; CPU %.3f s (%.2f %% of one core): main thread %.3f s, "
                 "other threads %.3f s\n",
                 reports, events.c_str(), wall, total, wall > 0 ? 100.0 * total / wall : 0.0, cpu.front(),
                 total - cpu.front());
  }
  if (eventsFile != nullptr) std::fclose(eventsFile);
  return 0;
}

}  // namespace
}  // namespace penmac::linux_layer

int main(int argc, char** argv) {
  penmac::linux_layer::PenmacOptions options;
  if (const auto rc = penmac::linux_layer::ParseOptions(argc, argv, options)) return *rc;
  return penmac::linux_layer::Run(options);
}

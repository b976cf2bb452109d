// The wake-up from sleep: logind's PrepareForSleep(false) on a bus, and the
// HID manager passing it on to its client on its own thread.
#include "mac/linux/ResumeSignal.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "mac/linux/HidrawManager.h"

extern char** environ;

namespace penmac::linux_layer {
namespace {

namespace fs = std::filesystem;

// A bus daemon of the test's own, with logind played by a connection that
// owns logind's name.
class PrivateBus : public ::testing::Test {
 protected:
  PrivateBus() {
    char name[] = "/tmp/penmac-bus-XXXXXX";
    dir = mkdtemp(name);
    address = "unix:path=" + dir + "/bus";
    std::vector<std::string> args = {"dbus-daemon", "--config-file=/usr/share/dbus-1/session.conf", "--nofork",
                                     "--nopidfile", "--address=" + address};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawnp(&daemon, "dbus-daemon", nullptr, nullptr, argv.data(), environ);
    for (int i = 0; i < 500 && !fs::exists(dir + "/bus"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~PrivateBus() override {
    for (sd_bus* b : connections) sd_bus_flush_close_unref(b);
    if (daemon > 0) {
      kill(daemon, SIGKILL);
      waitpid(daemon, nullptr, 0);
    }
    fs::remove_all(dir);
  }
  sd_bus* Connect() {
    sd_bus* b = nullptr;
    EXPECT_GE(sd_bus_new(&b), 0);
    sd_bus_set_address(b, address.c_str());
    sd_bus_set_bus_client(b, 1);
    EXPECT_GE(sd_bus_start(b), 0);
    connections.push_back(b);
    return b;
  }
  // The signal, then a round trip to the daemon: once the answer is back,
  // the daemon has passed the signal on to every listener.
  static void Emit(sd_bus* from, int start) {
    ASSERT_GE(sd_bus_emit_signal(from, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
                                 "b", start),
              0);
    sd_bus_message* reply = nullptr;
    ASSERT_GE(sd_bus_call_method(from, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.Peer",
                                 "Ping", nullptr, &reply, ""),
              0);
    sd_bus_message_unref(reply);
  }
  // Whether the watcher saw a wake-up among what has arrived.
  static bool Resumed(LogindResumeSignal& watch) {
    pollfd p{watch.Fd(), POLLIN, 0};
    poll(&p, 1, 0);
    return watch.Process();
  }

  std::string dir;
  std::string address;
  pid_t daemon = -1;
  std::vector<sd_bus*> connections;
};

TEST_F(PrivateBus, OnlyLogindsPrepareForSleepFalseIsAWakeUp) {
  LogindResumeSignal watch(address);
  ASSERT_EQ(watch.Error(), "");
  ASSERT_GE(watch.Fd(), 0);
  sd_bus* logind = Connect();
  ASSERT_GE(sd_bus_request_name(logind, "org.freedesktop.login1", 0), 0);
  sd_bus* impostor = Connect();

  Emit(impostor, 0);  // the right signal from the wrong sender
  EXPECT_FALSE(Resumed(watch));
  Emit(logind, 1);  // going to sleep
  EXPECT_FALSE(Resumed(watch));
  Emit(logind, 0);  // back
  EXPECT_TRUE(Resumed(watch));
  EXPECT_FALSE(Resumed(watch));  // once only
}

TEST(ResumeSignal, WithoutABusItSaysSoAndHasNothingToWatch) {
  LogindResumeSignal watch("unix:path=/nonexistent/bus");
  EXPECT_NE(watch.Error(), "");
  EXPECT_EQ(watch.Fd(), -1);
  EXPECT_FALSE(watch.Process());
}

// A wake-up that the test sends.
class FakeResume : public IResumeSignal {
 public:
  FakeResume() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
  ~FakeResume() override { close(fd_); }
  int Fd() const override { return fd_; }
  bool Process() override {
    uint64_t count = 0;
    return read(fd_, &count, sizeof count) == sizeof count && count > 0;
  }
  void Fire() {
    const uint64_t one = 1;
    ASSERT_EQ(write(fd_, &one, sizeof one), static_cast<ssize_t>(sizeof one));
  }

 private:
  int fd_;
};

class ResumeCounter : public IHidManagerClient {
 public:
  void read(int, IHidDeviceRef*, HidReportType, uint32_t, const uint8_t*, size_t) override {}
  void rawDeviceAdded(int, void*, const std::shared_ptr<IHidDeviceRef>&) override {}
  void rawDeviceRemoved(int, void*, const std::shared_ptr<IHidDeviceRef>&) override {}
  void systemResumed() override {
    thread = std::this_thread::get_id();
    ++resumes;
  }
  std::atomic<int> resumes{0};
  std::thread::id thread;
};

TEST(HidrawManager, AWakeUpReachesTheClientOnTheManagersThread) {
  FakeResume resume;
  ResumeCounter client;
  HidrawManager manager;
  const HIDMonitorData nothing{0xFFFF, 0xFFFF, std::nullopt, std::nullopt};
  manager.SetDeviceMatchingMultiple({&nothing, 1});
  manager.Open();
  manager.RegisterCallbacks(&client);
  manager.SetResumeSignal(&resume);
  std::thread::id managerThread;
  std::thread run([&] {
    managerThread = std::this_thread::get_id();
    manager.Run();
  });
  resume.Fire();
  for (int i = 0; i < 1000 && client.resumes == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  manager.Stop();
  run.join();
  EXPECT_EQ(client.resumes, 1);
  EXPECT_EQ(client.thread, managerThread);
}

}  // namespace
}  // namespace penmac::linux_layer

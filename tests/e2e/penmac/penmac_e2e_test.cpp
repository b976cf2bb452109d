// The penmac program itself, natively: a replayed session in, the input
// events it would post out, and what it says when something is missing.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string err;
};

class Penmac : public ::testing::Test {
 protected:
  Penmac() {
    char name[] = "/tmp/penmac-e2e-XXXXXX";
    dir = mkdtemp(name);
  }
  ~Penmac() override { fs::remove_all(dir); }

  void WriteFile(const std::string& name, const std::string& text) { std::ofstream(dir + "/" + name) << text; }
  std::string ReadFile(const std::string& name) {
    std::ifstream in(dir + "/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  pid_t Start(std::vector<std::string> args) {
    args.insert(args.begin(), PENMAC_PROGRAM);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, (dir + "/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    posix_spawn(&pid, PENMAC_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }
  Result Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return Result{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile("stderr")};
  }
  Result RunPenmac(std::vector<std::string> args) { return Wait(Start(std::move(args))); }

  std::vector<std::string> EventLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile("events"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::string dir;
};

// Hover at (1024, 1024), the tip down at full pressure, a drag, lift, then
// silence: the pen must leave by itself.
constexpr const char* kStroke =
    "device version 0x2201 product \"[R711]Pen Tablet\"\n"
    "+50 B 07 04 00 04 00 07 08 05 AA 00 00 FF 33 00 00\n"
    "+5  B 07 04 00 04 00 07 08 05 AA 00 00 FF 33 00 00\n"
    "+5  B 07 04 00 04 00 03 AA 05 AA 00 00 FF 33 55 AB\n"
    "+5  B 07 04 4C 04 00 04 AA 05 AA 00 00 FF 33 55 AB\n"
    "+5  B 07 04 4C 04 00 07 08 05 AA 00 00 FF 33 00 00\n";

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

TEST_F(Penmac, AReplayedStrokeBecomesProximityDownDragUpAndLeaving) {
  WriteFile("stroke.txt", kStroke);
  const Result r = RunPenmac({"--headless", "--replay", dir + "/stroke.txt", "--events", dir + "/events",
                              "--exit-after", "1", "--config-dir", dir + "/config", "--screens", "1920x1080"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = EventLines();
  ASSERT_EQ(lines.size(), 8u) << ReadFile("events");
  EXPECT_TRUE(StartsWith(lines[0], "type=24 loc=(480,270)")) << lines[0];
  EXPECT_NE(lines[0].find(" f38=1"), std::string::npos);
  EXPECT_TRUE(StartsWith(lines[1], "type=5 loc=(480,270)")) << lines[1];
  EXPECT_TRUE(StartsWith(lines[2], "type=5 loc=(480,270)")) << lines[2];
  EXPECT_TRUE(StartsWith(lines[3], "type=1")) << lines[3];
  EXPECT_NE(lines[3].find(" d19=1 d20=1 d21=-1"), std::string::npos) << lines[3];
  EXPECT_TRUE(StartsWith(lines[4], "type=6 loc=(515.625,270)")) << lines[4];
  EXPECT_NE(lines[4].find(" d19=0.5 "), std::string::npos) << lines[4];
  EXPECT_TRUE(StartsWith(lines[5], "type=2")) << lines[5];
  EXPECT_TRUE(StartsWith(lines[6], "type=24 loc=(515.625,270)")) << lines[6];
  EXPECT_NE(lines[6].find(" f38=0"), std::string::npos);
  EXPECT_TRUE(StartsWith(lines[7], "type=5")) << lines[7];
}

TEST_F(Penmac, EachInterfaceOfTheTabletGetsTheModeReportAndTheConfigurationIsWritten) {
  WriteFile("stroke.txt", kStroke);
  const Result r = RunPenmac({"--headless", "--replay", dir + "/stroke.txt", "--dry-run", "--verbose",
                              "--exit-after", "0.3", "--config-dir", dir + "/config"});
  ASSERT_EQ(r.status, 0) << r.err;
  size_t modeReports = 0;
  for (size_t at = r.err.find("feature report 08 03 00 00 00 00 00 00"); at != std::string::npos;
       at = r.err.find("feature report 08 03 00 00 00 00 00 00", at + 1)) {
    ++modeReports;
  }
  EXPECT_EQ(modeReports, 2u) << r.err;
  EXPECT_NE(r.err.find("tablet connected: \"[R711]Pen Tablet\" version 0x2201"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(dir + "/config/[R711]Pen Tablet.scrn"));
  EXPECT_TRUE(fs::exists(dir + "/config/[R711]Pen Tablet.keys"));
}

TEST_F(Penmac, AKeyDefinitionFromTheKeysFileActsOnTheTabletKey) {
  fs::create_directory(dir + "/config");
  WriteFile("config/[R711]Pen Tablet.keys", R"([1, {"key": "∙F5⌃", "mouse": ""}])");
  WriteFile("keys.txt",
            "+50 B 07 04 00 04 00 07 08 05 AA 00 00 FE 33 00 00\n"
            "+5  B 07 04 00 04 00 07 08 05 AA 00 00 FF 33 00 00\n");
  const Result r = RunPenmac({"--headless", "--replay", dir + "/keys.txt", "--events", dir + "/events",
                              "--exit-after", "0.5", "--config-dir", dir + "/config"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = EventLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "type=12 key=0 down flags=0x40000 f9=59");
  EXPECT_EQ(lines[1], "type=10 key=96 down flags=0x40000 f9=96");
  EXPECT_EQ(lines[2], "type=12 key=0 up flags=0x0 f9=59");
  EXPECT_EQ(lines[3], "type=11 key=96 up flags=0x40000 f9=96");
}

// Sets (or with nullptr removes) an environment variable for a scope: the
// programs started meanwhile inherit it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_.empty() ? unsetenv(name_) : setenv(name_, old_.c_str(), 1); }

 private:
  const char* name_;
  std::string old_;
};

TEST_F(Penmac, WithoutADisplayTheDesktopApplicationSaysHowToStartTheDriverAlone) {
  ScopedEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr), qpa("QT_QPA_PLATFORM", nullptr);
  const Result r = RunPenmac({});
  EXPECT_EQ(r.status, 7);
  EXPECT_NE(r.err.find("penmac --headless"), std::string::npos) << r.err;
}

// The desktop application, on Qt's offscreen platform (one 800 x 800
// screen): Qt's event loop runs the driver's own, so the HID thread's
// notifications and the model's timer (the pen leaving once reports stop)
// arrive as in the headless program.
TEST_F(Penmac, TheDesktopApplicationDrivesTheModelAsTheHeadlessProgramDoes) {
  ScopedEnv qpa("QT_QPA_PLATFORM", "offscreen");
  WriteFile("stroke.txt", kStroke);
  const Result r = RunPenmac({"--replay", dir + "/stroke.txt", "--events", dir + "/events", "--exit-after", "1",
                              "--config-dir", dir + "/config"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = EventLines();
  ASSERT_EQ(lines.size(), 8u) << ReadFile("events");
  // The whole desktop is Qt's one screen; (1024, 1024) on the tablet is a
  // quarter of the way in on both axes.
  EXPECT_TRUE(StartsWith(lines[0], "type=24 loc=(200,200)")) << lines[0];
  EXPECT_TRUE(StartsWith(lines[3], "type=1")) << lines[3];
  EXPECT_TRUE(StartsWith(lines[5], "type=2")) << lines[5];
  EXPECT_TRUE(StartsWith(lines[6], "type=24")) << lines[6];
  EXPECT_NE(lines[6].find(" f38=0"), std::string::npos) << lines[6];
  EXPECT_TRUE(fs::exists(dir + "/config/[R711]Pen Tablet.scrn"));
  EXPECT_NE(ReadFile("config/[R711]Pen Tablet.scrn").find("800"), std::string::npos);
}

TEST_F(Penmac, WithoutUinputItNamesTheUdevRuleAndFails) {
  WriteFile("stroke.txt", kStroke);
  const Result r = RunPenmac({"--headless", "--replay", dir + "/stroke.txt", "--uinput", dir + "/no-uinput"});
  EXPECT_EQ(r.status, 5);
  EXPECT_NE(r.err.find("no-uinput: No such file or directory"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("60-penmac.rules"), std::string::npos) << r.err;
}

TEST_F(Penmac, ABrokenRecordingIsRefusedWithItsLine) {
  WriteFile("bad.txt", "device version 0x2201\n+5 C 00\n");
  const Result r = RunPenmac({"--headless", "--replay", dir + "/bad.txt", "--dry-run"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
}

// True once the process blocks SIGTERM (its main loop reads it from a
// signalfd from then on); false after ten seconds without.
bool BlocksSigterm(pid_t pid) {
  const std::string path = "/proc/" + std::to_string(pid) + "/status";
  for (int i = 0; i < 1000; ++i) {
    std::ifstream status(path);
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("SigBlk:", 0) == 0 && (std::stoull(line.substr(7), nullptr, 16) & (1ull << (SIGTERM - 1))) != 0) {
        return true;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST_F(Penmac, SignalsEndItCleanly) {
  WriteFile("idle.txt", "device version 0x2201\nwait 60000\n");
  const pid_t pid = Start({"--headless", "--replay", dir + "/idle.txt", "--dry-run", "--config-dir", dir + "/c"});
  // A signal sent before the program has taken the ending signals over would
  // end it the default way, which is not what this test asks about; on a busy
  // machine that takes longer than any fixed pause.
  ASSERT_TRUE(BlocksSigterm(pid)) << "penmac never took SIGTERM over";
  kill(pid, SIGTERM);
  EXPECT_EQ(Wait(pid).status, 0);
}

// A tablet key whose definition holds the left button, held when the
// signal comes: the button goes up before the program ends.
TEST_F(Penmac, SignalsEndTheDesktopApplicationCleanlyLettingGoOfWhatIsHeld) {
  ScopedEnv qpa("QT_QPA_PLATFORM", "offscreen");
  fs::create_directory(dir + "/config");
  WriteFile("config/[R711]Pen Tablet.keys", R"([1, {"key": "", "mouse": "L"}])");
  WriteFile("held.txt", "+50 B 07 04 00 04 00 07 08 05 AA 00 00 FE 33 00 00\nwait 60000\n");
  const pid_t pid = Start({"--replay", dir + "/held.txt", "--events", dir + "/events", "--config-dir",
                           dir + "/config"});
  struct KillIfLeft {
    pid_t pid;
    bool done = false;
    ~KillIfLeft() {
      if (!done) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    }
  } guard{pid};
  ASSERT_TRUE(BlocksSigterm(pid)) << "penmac never took SIGTERM over";
  // The events file is written in blocks: the tablet's arrival on standard
  // error says when the key's report is due (50 ms later).
  for (int i = 0; i < 1000 && ReadFile("stderr").find("tablet connected") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_NE(ReadFile("stderr").find("tablet connected"), std::string::npos) << ReadFile("stderr");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  kill(pid, SIGTERM);
  guard.done = true;
  const Result r = Wait(pid);
  EXPECT_EQ(r.status, 0) << r.err;
  const auto lines = EventLines();
  ASSERT_EQ(lines.size(), 2u) << ReadFile("events");
  EXPECT_TRUE(StartsWith(lines[0], "type=1 ")) << lines[0];
  EXPECT_TRUE(StartsWith(lines[1], "type=2 ")) << lines[1];
}

TEST_F(Penmac, ASecondDriverOfTheSameUserSaysSoAndEndsWhileTheFirstRuns) {
  fs::create_directory(dir + "/run");
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedValue = saved ? saved : "";
  setenv("XDG_RUNTIME_DIR", (dir + "/run").c_str(), 1);
  // Both read the tablet (none is plugged in: they wait for it).
  const std::vector<std::string> args = {"--headless", "--dry-run", "--wait", "--config-dir", dir + "/c"};
  const pid_t first = Start(args);
  // The first has the lock once its process id is in the lock file.
  for (int i = 0; i < 500 && ReadFile("run/penmac/lock") != std::to_string(first) + "\n"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(ReadFile("run/penmac/lock"), std::to_string(first) + "\n") << ReadFile("stderr");
  // Bounded, so that a second driver that wrongly runs ends too.
  std::vector<std::string> bounded = args;
  bounded.insert(bounded.end(), {"--exit-after", "3"});
  const Result second = RunPenmac(bounded);
  EXPECT_EQ(second.status, 6);
  EXPECT_NE(second.err.find("already running for this user (process " + std::to_string(first) + ")"),
            std::string::npos)
      << second.err;
  // A replay that posts nothing may run beside it.
  WriteFile("stroke.txt", kStroke);
  EXPECT_EQ(RunPenmac({"--headless", "--replay", dir + "/stroke.txt", "--dry-run", "--config-dir", dir + "/c",
                       "--exit-after", "0.3"})
                .status,
            0);
  kill(first, SIGTERM);
  EXPECT_EQ(Wait(first).status, 0);
  // Once the first has ended, the next one runs.
  EXPECT_EQ(RunPenmac(bounded).status, 0);
  if (saved) {
    setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
}

// Voluntary context switches of each thread of a process: how often each
// has gone to sleep and been woken.
std::map<std::string, long> Wakeups(pid_t pid) {
  std::map<std::string, long> counts;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : fs::directory_iterator(tasks)) {
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (StartsWith(line, "voluntary_ctxt_switches:")) counts[task.path().filename()] = std::stol(line.substr(24));
    }
  }
  return counts;
}

// Over `seconds` of a quiet program: each thread wakes at most as often as
// the 0.2 s timer ticks (and two more, for the edges of the window).
// Returns how many threads were watched.
size_t ExpectNoMoreWakeupsThanTheTimer(pid_t pid, double seconds) {
  const auto before = Wakeups(pid);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const auto after = Wakeups(pid);
  const long timerTicks = static_cast<long>(seconds / 0.2);
  for (const auto& [tid, count] : after) {
    const long woken = count - (before.count(tid) ? before.at(tid) : 0);
    std::printf("thread %s: %ld wake-ups in %.0f s\n", tid.c_str(), woken, seconds);
    EXPECT_LE(woken, timerTicks + 2) << "thread " << tid;
  }
  return before.size();
}

TEST_F(Penmac, WhileNoReportsArriveNoThreadWakesMoreOftenThanTheFifthOfASecondTimer) {
  WriteFile("idle.txt", "device version 0x2201\n+10 B 07 04 00 04 00 07 08 05 AA 00 00 FF 33 00 00\nwait 60000\n");
  const pid_t pid = Start({"--headless", "--replay", dir + "/idle.txt", "--dry-run", "--config-dir", dir + "/c"});
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // started, pen gone again
  const size_t threads = ExpectNoMoreWakeupsThanTheTimer(pid, 3.0);
  kill(pid, SIGTERM);
  ASSERT_EQ(Wait(pid).status, 0);
  EXPECT_GE(threads, 2u);  // the main thread and the HID thread
}

// The desktop application sleeps as the headless program does: Qt's loop
// waits on the driver's descriptor with the rest, nothing polls.
TEST_F(Penmac, TheDesktopApplicationWakesNoMoreOftenThanTheHeadlessProgram) {
  ScopedEnv qpa("QT_QPA_PLATFORM", "offscreen");
  WriteFile("idle.txt", "device version 0x2201\n+10 B 07 04 00 04 00 07 08 05 AA 00 00 FF 33 00 00\nwait 60000\n");
  const pid_t pid = Start({"--replay", dir + "/idle.txt", "--dry-run", "--config-dir", dir + "/c"});
  ASSERT_TRUE(BlocksSigterm(pid));
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));  // started, pen gone again
  ExpectNoMoreWakeupsThanTheTimer(pid, 3.0);
  kill(pid, SIGTERM);
  ASSERT_EQ(Wait(pid).status, 0);
}

}  // namespace

// The shared tablet-data channel from the side of drawing programs: the
// service plays a recording while reference clients (tabclient.exe) read
// the shared block, and the checks compare what they print with what the
// service's trace says it published.
#include <cstdlib>
#include <map>

#include "OutputFields.h"
#include "PenHostRun.h"

namespace e2e {
namespace {

// One tabclient.exe run and what it printed.
struct Client {
  PROCESS_INFORMATION pi{};
  std::string out;

  std::string Text() const { return ReadAll(out); }
  bool Has(const std::string& what) const { return CountOf(Text(), what) > 0; }
  // Posts WM_CLOSE to its window and waits for its summary line.
  void Stop() {
    if (!pi.hProcess) return;
    char caption[40];
    std::snprintf(caption, sizeof caption, "tabclient %lu", static_cast<unsigned long>(pi.dwProcessId));
    if (HWND w = FindWindowA("TabClientWindow", caption)) PostMessageA(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 9);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    pi = {};
  }
};

class Channel : public PenHostRun {
 protected:
  std::vector<Client*> clients;

  void TearDown() override {
    for (Client* c : clients) c->Stop();
    PenHostRun::TearDown();
  }

  // Starts a client and waits until it has registered.
  void StartClient(Client& c, const std::string& name, const std::string& args) {
    c.out = dir + "\\" + name + ".txt";
    DeleteFileA(c.out.c_str());
    c.pi = LaunchProgram(g_tabclient, "--out=\"" + c.out + "\" " + args);
    clients.push_back(&c);
    ASSERT_TRUE(WaitFor([&] { return c.Has("registered with the service window"); }, 20000)) << c.Text();
  }

  void WriteSettings(int inkMode, const char* screen) {
    std::ofstream f(dir + "\\TSetting.ini", std::ios::binary);
    f << "[MainItem]\r\nInkMode=" << inkMode << "\r\nSmoothness=0\r\nLeftHandMode=0\r\n[Mapping]\r\n" << screen
      << "TabletMapLeft=0\r\nTabletMapTop=0\r\nTabletMapRight=4095\r\nTabletMapBottom=4095\r\n";
  }

  static void Add(pen::TTabletRecording& rec, uint32_t delay, const pen::DigitizerSample& s) {
    const auto r = pen::EncodeDigitizerReport(s);
    rec.AddReport(delay, pen::TabletInterface::B, r.data(), r.size());
  }
  // A stroke: hover, tip down while moving, lift, hover.
  static void Stroke(pen::TTabletRecording& rec, uint32_t firstDelay) {
    pen::DigitizerSample s;
    s.x = 1200;
    s.y = 1500;
    s.rawPressure = 1800;
    for (int i = 0; i < 30; ++i) {
      s.rawPressure = i >= 8 && i < 22 ? 1000 : 1800;
      s.x = static_cast<uint16_t>(1200 + 25 * i);
      s.tiltA = static_cast<int8_t>(-20 + i);
      s.tiltB = static_cast<int8_t>(30 - i);
      Add(rec, i == 0 ? firstDelay : 8, s);
    }
  }
  size_t TraceCount(const std::string& what) { return CountOf(ReadAll(trace), what); }
};

TEST_F(Channel, TheClientInFrontGetsEveryPacketScaledToTheScreenAreaThenOneLeftPacket) {
  // Screen area: Left 100, Top 200, Width 2000, Height 3000.
  WriteSettings(1, "ScreenMapLeft=100\r\nScreenMapTop=200\r\nScreenMapRight=2100\r\nScreenMapBottom=3200\r\n");
  pen::TTabletRecording rec = Idle();
  Stroke(rec, 5000);
  rec.AddWait(2000);
  Start(SaveRecording(rec));
  Client client;
  StartClient(client, "client", "--cover");
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #30:") == 1; }, 30000)) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return client.Has("status=80"); }, 5000)) << client.Text();
  Sleep(1000);  // a second left packet would come now
  client.Stop();

  const std::string text = client.Text();
  const auto packets = LinesStarting(text, "packet ");
  const auto published = PublishedB(ReadAll(trace));
  ASSERT_EQ(published.size(), 30u);
  ASSERT_EQ(packets.size(), 31u) << text;
  for (size_t i = 0; i < 30; ++i) {
    const auto& got = packets[i];
    const Published& want = published[i];
    EXPECT_EQ(Num(got, "serial"), static_cast<long>(i));
    EXPECT_EQ(Num(got, "status", 16), want.status) << i;
    EXPECT_EQ(Num(got, "x"), ((want.x * 2000) >> 12) + 1600) << i;
    EXPECT_EQ(Num(got, "y"), ((want.y * 3000) >> 12) + 3200) << i;
    EXPECT_EQ(Num(got, "pressure"), want.pressure) << i;
    EXPECT_EQ(got.at("tilt"), std::to_string(-20 + static_cast<int>(i)) + "," + std::to_string(30 - static_cast<int>(i)));
  }
  EXPECT_EQ(Num(packets[12], "status", 16), 0xC1);  // the tip was down
  const auto& left = packets[30];
  EXPECT_EQ(Num(left, "status", 16), 0x80);
  EXPECT_EQ(Num(left, "serial"), 30);
  EXPECT_EQ(Num(left, "x"), Num(packets[29], "x"));
  EXPECT_EQ(Num(left, "y"), Num(packets[29], "y"));
  EXPECT_GE(Num(left, "time") - Num(packets[29], "time"), 450);
  EXPECT_EQ(CountOf(text, "summary packets=31 "), 1u) << text;
  EXPECT_EQ(CountOf(text, "gaps=0"), 1u);
  // Woken for some packets, each time with a serial it then read, never
  // twice for one; the pen-down on its own window took nothing from it.
  const auto notices = LinesStarting(text, "notice ");
  ASSERT_FALSE(notices.empty());
  long last = -1;
  for (const auto& n : notices) {
    EXPECT_GT(Num(n, "serial"), last);
    last = Num(n, "serial");
    EXPECT_LE(last, 30);
  }
  EXPECT_EQ(CountOf(text, "deselected"), 0u);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(Channel, SixtyFourUnreadPacketsLeaveHeadZeroAndTailOneAndTheSixtyFifthHeadOneAndTailTwo) {
  pen::TTabletRecording rec = Idle();
  pen::DigitizerSample s;
  s.rawPressure = 1800;
  s.x = 2000;
  s.y = 2000;
  for (int i = 0; i < 64; ++i) Add(rec, i == 0 ? 5000 : 8, s);
  Add(rec, 300, s);  // long enough to look at the block, short of the left packet
  rec.AddWait(1500);
  Start(SaveRecording(rec));
  Client client;
  StartClient(client, "client", "--no-consume");
  const std::string pid = std::to_string(client.pi.dwProcessId);
  ASSERT_TRUE(WaitFor([&] { return client.Has("notice serial=65"); }, 30000)) << client.Text() << ReadAll(trace);
  Sleep(800);
  client.Stop();
  const std::string text = client.Text();
  // Nobody moved the tail, so the first wake-up comes when the ring is full.
  const auto notices = LinesStarting(text, "notice ");
  ASSERT_EQ(notices.size(), 3u) << text;
  EXPECT_EQ(CountOf(text, "notice serial=63 pid=" + pid + " tail=1 head=0"), 1u) << text;
  EXPECT_EQ(CountOf(text, "notice serial=64 pid=" + pid + " tail=2 head=1"), 1u) << text;
  EXPECT_EQ(CountOf(text, "notice serial=65 pid=" + pid + " tail=3 head=2"), 1u) << text;
  EXPECT_EQ(CountOf(text, "slot 0 serial=64 status=C0"), 1u);
  EXPECT_EQ(CountOf(text, "slot 1 serial=65 status=80"), 1u);
  for (int i = 2; i < 64; ++i) {
    EXPECT_EQ(CountOf(text, "slot " + std::to_string(i) + " serial=" + std::to_string(i) + " status=C0"), 1u) << i;
  }
  EXPECT_EQ(Stop(), 0);
}

TEST_F(Channel, PenDownOverAnotherProgramsWindowHandsItThePacketsAndTellsTheFormerClient) {
  pen::TTabletRecording rec = Idle();
  Stroke(rec, 6000);
  Stroke(rec, 200);  // down again over the same window
  rec.AddWait(1000);
  Start(SaveRecording(rec));
  Client under, former;
  StartClient(under, "under", "--cover");
  StartClient(former, "former", "");  // registered last: the packets are its
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #60:") == 1; }, 30000)) << ReadAll(trace);
  Sleep(1200);
  const std::string underProcess = std::to_string(under.pi.dwProcessId);
  under.Stop();
  former.Stop();
  const std::string u = under.Text(), f = former.Text();
  // Hover packets went to the former client until the tip went down (the
  // tenth report, once smoothing has brought the pressure past the
  // threshold); what it had not read by then went with the reset.
  const auto formerPackets = LinesStarting(f, "packet ");
  ASSERT_FALSE(formerPackets.empty()) << f;
  for (const auto& p : formerPackets) {
    EXPECT_LE(Num(p, "serial"), 9);
    EXPECT_EQ(Num(p, "status", 16), 0xC0);
  }
  EXPECT_EQ(CountOf(f, "deselected"), 1u) << f;
  EXPECT_EQ(CountOf(f, "packets are for process " + underProcess), 1u) << f;
  // The new target starts at slot 0 with the pen-down packet itself.
  const auto underPackets = LinesStarting(u, "packet ");
  ASSERT_FALSE(underPackets.empty()) << u;
  EXPECT_EQ(Num(underPackets[0], "slot"), 0);
  EXPECT_EQ(Num(underPackets[0], "serial"), 10);
  EXPECT_EQ(Num(underPackets[0], "status", 16), 0xC1);
  EXPECT_EQ(underPackets.size(), 60u - 10u + 1u) << u;  // and the left packet
  EXPECT_EQ(CountOf(u, "gaps=0"), 1u);
  EXPECT_GT(LinesStarting(u, "notice ").size(), 0u);
  EXPECT_EQ(CountOf(u, "deselected"), 0u);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(Channel, ARestartedServiceFindsItsClientsAgainWithoutANewRegistration) {
  Start(SaveRecording(Idle()));
  Client client;
  StartClient(client, "client", "--cover");
  Sleep(1000);  // the registration has been handled
  EXPECT_EQ(Stop(), 0);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  pi = {};
  DeleteFileA(trace.c_str());

  pen::TTabletRecording rec = Idle();
  Stroke(rec, 2000);
  rec.AddWait(1000);
  Start(SaveRecording(rec));
  // Saved were the client and the first run's settings window (registered when
  // the window was filled at start); the latter is gone and dropped after restoring.
  EXPECT_EQ(TraceCount("shared channel open: 2 clients restored"), 1u) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return client.Has("status=80"); }, 30000)) << client.Text();
  client.Stop();
  const std::string text = client.Text();
  EXPECT_EQ(CountOf(text, "registered with the service window"), 1u);
  // Only a client the service knows is woken: the restored entry, made the
  // target when the tip went down over its window.
  EXPECT_GT(LinesStarting(text, "notice ").size(), 0u) << text;
  EXPECT_EQ(CountOf(text, "packet slot=0 serial=10 status=C1"), 1u) << text;
  EXPECT_EQ(Stop(), 0);
}

TEST_F(Channel, WithInkModeZeroTheTabletIsInFullModeWhileAClientIsInFront) {
  WriteSettings(0, "ScreenMapLeft=0\r\nScreenMapTop=0\r\nScreenMapRight=4095\r\nScreenMapBottom=4095\r\n");
  Start(SaveRecording(Idle()));
  auto lastMode = [&] {
    std::string mode;
    for (const Feature& r : Features(features)) {
      if (r.bytes.rfind("08 0", 0) == 0 && (r.bytes[4] == '0' || r.bytes[4] == '1' || r.bytes[4] == '3')) {
        mode = r.bytes.substr(3, 2);
      }
    }
    return mode;
  };
  ASSERT_TRUE(WaitFor([&] { return lastMode() == "01"; }, 10000)) << lastMode();
  Client client;
  StartClient(client, "client", "--cover --front");
  ASSERT_TRUE(WaitFor([&] { return client.Has("in front"); }, 10000));
  // The watch saw the client come to the front and posted command 11.
  EXPECT_TRUE(WaitFor([&] { return lastMode() == "03"; }, 15000)) << ReadAll(trace);
  EXPECT_GE(TraceCount("command 11 handled"), 1u);
  EXPECT_TRUE(WaitFor([&] { return client.Has("selected"); }, 5000)) << client.Text();

  // This test program's own window in front: no client there.
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ChannelE2eFront";
  RegisterClassA(&wc);
  HWND own = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                             nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(own);
  NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, own, OBJID_WINDOW, CHILDID_SELF);
  EXPECT_TRUE(WaitFor([&] { return lastMode() == "01"; }, 15000)) << ReadAll(trace);
  EXPECT_TRUE(WaitFor([&] { return client.Has("deselected"); }, 5000)) << client.Text();
  DestroyWindow(own);
  EXPECT_EQ(Stop(), 0);
}


TEST_F(Channel, AClientThatRegistersTheMomentTheWindowAppearsIsKnownForTheWholeRun) {
  pen::TTabletRecording rec = Idle();
  pen::DigitizerSample s;
  s.rawPressure = 1800;  // in the air: no pen-down makes anyone the target
  s.y = 2000;
  // More than the ring holds: an unread ring that overflows moves the tail,
  // which wakes the known client.
  for (int i = 0; i < 100; ++i) {
    s.x = static_cast<uint16_t>(1000 + 10 * i);
    Add(rec, i == 0 ? 2000 : 10, s);
  }
  rec.AddWait(1500);
  // The client is there first, as a drawing program started before the
  // service; it only reads when woken, so only a known client gets packets.
  Client client;
  client.out = dir + "\\client.txt";
  DeleteFileA(client.out.c_str());
  client.pi = LaunchProgram(g_tabclient, "--out=\"" + client.out + "\" --poll=0 --at-once");
  clients.push_back(&client);
  ASSERT_TRUE(WaitFor([&] { return client.Has("waiting for the service"); }, 20000)) << client.Text();
  Start(SaveRecording(rec));
  ASSERT_TRUE(WaitFor([&] { return client.Has("registered with the service window"); }, 5000)) << client.Text();
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #100:") == 1; }, 30000)) << ReadAll(trace);
  // Woken, it read up to the left packet, without a gap, while the service ran.
  EXPECT_TRUE(WaitFor([&] { return client.Has("serial=100 status=80"); }, 5000)) << client.Text() << ReadAll(trace);
  const std::string text = client.Text();
  EXPECT_GT(LinesStarting(text, "notice ").size(), 0u) << text;
  EXPECT_EQ(CountOf(text, "packets are for process"), 0u) << text;
  EXPECT_EQ(CountOf(text, "gap "), 0u) << text;
  EXPECT_EQ(Stop(), 0);
}

// Any program of the session can take the channel's mutex and keep it.
class MutexHolder {
 public:
  bool Take() {
    mutex_ = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "QUORVEX TABMutex");
    if (mutex_ == nullptr) return false;
    const DWORD r = WaitForSingleObject(mutex_, 10000);
    held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    return held_;
  }
  void Release() {
    if (held_) ReleaseMutex(mutex_);
    held_ = false;
  }
  ~MutexHolder() {
    Release();
    if (mutex_) CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_ = nullptr;
  bool held_ = false;
};

// Lets this thread's messages run for `ms`.
void PumpFor(DWORD ms) {
  WaitFor([] { return false; }, ms);
}

bool Answers(HWND w) {
  DWORD_PTR r = 0;
  return SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &r) != 0;
}

TEST_F(Channel, AnotherProgramKeepingTheMutexFreezesNeitherThePointerNorTheServiceAndPacketsComeBackAfter) {
  pen::TTabletRecording rec = Idle();
  pen::DigitizerSample s;
  s.rawPressure = 1800;  // in the air, sliding right along one line
  s.y = 2000;
  for (int i = 0; i < 800; ++i) {
    s.x = static_cast<uint16_t>(400 + 4 * i);
    Add(rec, i == 0 ? 2000 : 10, s);
  }
  rec.AddWait(1500);
  Start(SaveRecording(rec));
  Client client;
  StartClient(client, "client", "");
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #100:") == 1; }, 30000)) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return client.Has("packet slot="); }, 5000)) << client.Text();

  MutexHolder holder;
  ASSERT_TRUE(holder.Take());
  const HWND service = Window();
  const int h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const double lineY = GetSystemMetrics(SM_YVIRTUALSCREEN) + 2000 * static_cast<double>(h) / 4095.0;
  PumpFor(700);  // past the first bounded wait
  EXPECT_TRUE(Answers(service));
  POINT first{}, second{};
  ASSERT_TRUE(GetCursorPos(&first));
  PumpFor(800);
  EXPECT_TRUE(Answers(service));
  ASSERT_TRUE(GetCursorPos(&second));
  // Still following the pen along its line.
  EXPECT_GT(second.x, first.x + 20) << first.x << " then " << second.x;
  EXPECT_NEAR(second.y, lineY, 3.0);
  PumpFor(800);
  EXPECT_TRUE(Answers(service));
  const size_t before = LinesStarting(client.Text(), "packet ").size();
  holder.Release();

  // Free again: the client is woken and reads on, the serials without a gap.
  EXPECT_TRUE(WaitFor([&] { return LinesStarting(client.Text(), "packet ").size() > before + 20; }, 5000))
      << client.Text();
  EXPECT_TRUE(WaitFor([&] { return TraceCount("mutex free again") >= 1; }, 5000)) << ReadAll(trace);
  // One report for the whole time it was kept. After that the client and the
  // service take turns at the mutex, and on a busy machine a turn of the
  // client's may outlast a bounded wait: a report of its own, later.
  const std::string text = ReadAll(trace);
  EXPECT_EQ(CountOf(text.substr(0, text.find("mutex free again")), "mutex kept by another program"), 1u) << text;

  // Kept again while the service is asked to close: it still closes.
  ASSERT_TRUE(holder.Take());
  PostMessageA(service, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 5000), WAIT_OBJECT_0);
  holder.Release();
  client.Stop();
  EXPECT_EQ(CountOf(client.Text(), "gaps=0"), 1u) << client.Text();
}

}  // namespace
}  // namespace e2e

// wintab32.dll in drawing programs, end to end: the service plays a
// recorded stroke through its virtual tablet while test drawing programs
// (wtdraw.exe, with the library beside it) print what Wintab gives them;
// the checks compare that with what the service's trace says it published.
#include <algorithm>
#include <cstdlib>
#include <map>

#include "e2e/OutputFields.h"
#include "e2e/PenHostRun.h"
#include "wintab/TabletSample.h"

namespace e2e {

inline std::string g_draw;     // Windows path of wtdraw.exe
inline std::string g_library;  // Windows path of wintab32.dll

namespace {

// One wtdraw.exe run in a folder of its own, the library beside it, as a
// user installs it for one program.
struct Draw {
  PROCESS_INFORMATION pi{};
  std::string out;
  std::string Text() const { return ReadAll(out); }
  bool Has(const std::string& what) const { return CountOf(Text(), what) > 0; }
  HWND Window() const {
    char caption[40];
    std::snprintf(caption, sizeof caption, "wtdraw %lu", static_cast<unsigned long>(pi.dwProcessId));
    return FindWindowA("WintabDrawWindow", caption);
  }
  void Stop() {
    if (!pi.hProcess) return;
    if (HWND w = Window()) PostMessageA(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 9);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    pi = {};
  }
};

class Wintab : public PenHostRun {
 protected:
  std::vector<Draw*> draws;

  void TearDown() override {
    for (Draw* d : draws) d->Stop();
    PenHostRun::TearDown();
  }

  void StartDraw(Draw& d, const std::string& name, const std::string& args) {
    const std::string folder = dir + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = folder + "\\wtdraw.exe";
    ASSERT_TRUE(CopyFileA(g_draw.c_str(), exe.c_str(), FALSE)) << g_draw;
    ASSERT_TRUE(CopyFileA(g_library.c_str(), (folder + "\\wintab32.dll").c_str(), FALSE)) << g_library;
    d.out = folder + "\\out.txt";
    DeleteFileA(d.out.c_str());
    d.pi = LaunchProgram(exe, "--out=\"" + d.out + "\" " + args);
    draws.push_back(&d);
    ASSERT_TRUE(WaitFor([&] { return d.Has("open queue=") || d.Has("failed") || d.Has("no "); }, 20000)) << d.Text();
    ASSERT_TRUE(d.Has("open queue=128 grown=1")) << d.Text();
    // Ours, not the system's.
    ASSERT_TRUE(d.Has("\\" + name + "\\wintab32.dll")) << d.Text();
  }

  void WriteSettings() {
    std::ofstream f(dir + "\\TSetting.ini", std::ios::binary);
    f << "[MainItem]\r\nInkMode=1\r\nSmoothness=0\r\nLeftHandMode=0\r\n[Mapping]\r\nScreenMapLeft=0\r\n"
         "ScreenMapTop=0\r\nScreenMapRight=4095\r\nScreenMapBottom=4095\r\nTabletMapLeft=0\r\nTabletMapTop=0\r\n"
         "TabletMapRight=4095\r\nTabletMapBottom=4095\r\n";
  }

  static void Add(pen::TTabletRecording& rec, uint32_t delay, const pen::DigitizerSample& s) {
    const auto r = pen::EncodeDigitizerReport(s);
    rec.AddReport(delay, pen::TabletInterface::B, r.data(), r.size());
  }
  // Hover in, rest, press where it rests, draw, lift, hover: 36 reports.
  static void Stroke(pen::TTabletRecording& rec, uint32_t firstDelay, uint16_t x0) {
    pen::DigitizerSample s;
    s.y = 1500;
    for (int i = 0; i < 36; ++i) {
      const int moving = i < 12 ? i : i < 20 ? 12 : i - 8;
      s.x = static_cast<uint16_t>(x0 + 20 * moving);
      s.y = static_cast<uint16_t>(1500 + 7 * moving);
      s.rawPressure = i >= 14 && i < 30 ? 1000 : 1800;
      s.tiltA = static_cast<int8_t>(-20 + i);
      s.tiltB = static_cast<int8_t>(30 - i);
      Add(rec, i == 0 ? firstDelay : 8, s);
    }
  }

  // Every report of the trace from `first` on reached the program as one
  // packet, in order, without a gap, with the ring's position (the whole
  // screen area: x * 4095 >> 12) and pressure, the pen's buttons, the pen
  // cursor and the tilt as orientation; proximity came in first and went
  // out last.
  // `skip`: packets the program had before this stroke.
  void ExpectStroke(const Draw& d, size_t first, size_t count, size_t skip = 0) {
    const std::string text = d.Text();
    const auto published = PublishedB(ReadAll(trace));
    ASSERT_GE(published.size(), first + count);
    const auto packets = LinesStarting(text, "packet ");
    ASSERT_EQ(packets.size(), skip + count) << text;
    for (size_t i = 0; i < count; ++i) {
      const auto& got = packets[skip + i];
      const Published& want = published[first + i];
      EXPECT_EQ(Num(got, "x"), (want.x * 4095) >> 12) << i;
      EXPECT_EQ(Num(got, "y"), (want.y * 4095) >> 12) << i;
      EXPECT_EQ(Num(got, "pressure"), want.pressure) << i;
      EXPECT_EQ(Num(got, "buttons"), want.status & 7) << i;
      EXPECT_EQ(Num(got, "cursor") % 3, 1) << i;
      EXPECT_EQ(Num(got, "status"), 0) << i;
      if (i > 0) {
        EXPECT_EQ(Num(got, "serial"), Num(packets[skip + i - 1], "serial") + 1) << i;
      }
      const auto o = pen::wintab::OrientationFromTilt(30 - static_cast<int>(i), -20 + static_cast<int>(i));
      EXPECT_EQ(Num(got, "azimuth"), o.orAzimuth) << i;
      EXPECT_EQ(Num(got, "altitude"), o.orAltitude) << i;
    }
    EXPECT_GT(Num(packets[skip + count - 1], "x"), Num(packets[skip], "x"));
    const std::vector<std::string> lines = Lines(text);
    size_t in = lines.size(), firstPacket = lines.size(), out = 0, lastPacket = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].rfind("proximity in=1 hardware=1", 0) == 0 && in == lines.size()) in = i;
      if (lines[i].rfind("packet ", 0) == 0) {
        if (firstPacket == lines.size()) firstPacket = i;
        lastPacket = i;
      }
      if (lines[i].rfind("proximity in=0 hardware=0", 0) == 0) out = i;
    }
    EXPECT_LT(in, firstPacket) << text;
    EXPECT_GT(out, lastPacket) << text;
    // The packet that brought the pen in was in the queue when it was told.
    EXPECT_EQ(CountOf(text, "proximity in=1 hardware=1 queued=0"), 0u) << text;
  }
  size_t TraceCount(const std::string& what) { return CountOf(ReadAll(trace), what); }
};

TEST_F(Wintab, TheProgramInFrontGetsTheStrokeAsTheRingHeldItAndTheOneBehindOnlyOnceInFront) {
  WriteSettings();
  pen::TTabletRecording rec = Idle();
  Stroke(rec, 9000, 1200);
  Stroke(rec, 5000, 2000);
  rec.AddWait(1500);
  Start(SaveRecording(rec));
  // The one behind opens its context first; the one in front registers
  // last and comes to the front over the whole desktop.
  Draw behind, front;
  StartDraw(behind, "behind", "--cover");
  StartDraw(front, "front", "--cover --front");
  ASSERT_TRUE(WaitFor([&] { return front.Has("in front"); }, 10000));
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #36:") == 1; }, 30000)) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return front.Has("proximity in=0"); }, 5000)) << front.Text();
  ExpectStroke(front, 0, 36);
  // Qt snaps to the pointer at pen-down when they are more than 20 pixels
  // apart: the pointer and the packets agree.
  const auto down = LinesStarting(front.Text(), "pendown ");
  ASSERT_EQ(down.size(), 1u) << front.Text();
  const double distance = std::strtod(down[0].at("distance").c_str(), nullptr);
  std::printf("pen-down distance between pointer and packet: %.2f pixels\n", distance);
  EXPECT_LE(distance, 4.0) << front.Text();
  // From the service's time stamp to the packet in the program's hands.
  std::vector<long> ages;
  for (const auto& p : LinesStarting(front.Text(), "packet ")) ages.push_back(Num(p, "age"));
  std::sort(ages.begin(), ages.end());
  std::printf("ring write to packet taken: median %ld ms, slowest %ld ms over %zu packets\n", ages[ages.size() / 2],
              ages.back(), ages.size());
  EXPECT_EQ(LinesStarting(behind.Text(), "packet ").size(), 0u) << behind.Text();
  EXPECT_EQ(LinesStarting(behind.Text(), "proximity ").size(), 0u) << behind.Text();

  // The one behind comes to the front before the second stroke.
  PostMessageA(behind.Window(), WM_APP + 1, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return behind.Has("in front"); }, 5000));
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #72:") == 1; }, 30000)) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return behind.Has("proximity in=0"); }, 5000)) << behind.Text();
  ExpectStroke(behind, 36, 36);
  EXPECT_EQ(LinesStarting(front.Text(), "packet ").size(), 36u);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(Wintab, WithoutTheServiceInfoAnswersTheContextOpensSilentAndAServiceStartedLaterOrAgainIsHeard) {
  WriteSettings();
  Draw d;
  StartDraw(d, "early", "--cover --front");
  const std::string text = d.Text();
  EXPECT_EQ(CountOf(text, "ordinals 44 of 44"), 1u) << text;
  EXPECT_EQ(CountOf(text, "info size=212"), 1u) << text;
  EXPECT_EQ(CountOf(text, "interface Pen Tablet Wintab over the penhost channel version=104"), 1u) << text;
  Sleep(1000);
  EXPECT_EQ(LinesStarting(d.Text(), "packet ").size(), 0u);
  EXPECT_EQ(LinesStarting(d.Text(), "proximity ").size(), 0u);

  pen::TTabletRecording rec = Idle();
  Stroke(rec, 4000, 1500);
  rec.AddWait(1500);
  Start(SaveRecording(rec));
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #36:") == 1; }, 30000)) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return d.Has("proximity in=0"); }, 5000)) << d.Text();
  ExpectStroke(d, 0, 36);
  EXPECT_EQ(Stop(), 0);

  // The service goes and comes back: the program hears the new one.
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  pi = {};
  DeleteFileA(trace.c_str());
  pen::TTabletRecording again = Idle();
  Stroke(again, 3000, 1800);
  again.AddWait(1500);
  Start(SaveRecording(again));
  ASSERT_TRUE(WaitFor([&] { return TraceCount("report B #36:") == 1; }, 30000)) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return CountOf(d.Text(), "proximity in=0") == 2; }, 5000)) << d.Text();
  ExpectStroke(d, 0, 36, 36);
  EXPECT_EQ(Stop(), 0);
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 5) {
    std::fprintf(stderr, "usage: wintab_e2e PENHOST.EXE WTDRAW.EXE WINTAB32.DLL WORK-FOLDER\n");
    return 2;
  }
  e2e::g_penhost = e2e::WindowsPath(argv[1]);
  e2e::g_draw = e2e::WindowsPath(argv[2]);
  e2e::g_library = e2e::WindowsPath(argv[3]);
  e2e::g_workRoot = e2e::WindowsPath(argv[4]);
  // Wine has a wintab32 of its own: the test drawing program loads ours
  // (Wine's per-program library settings; elsewhere an unused key).
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\wtdraw.exe\\DllOverrides", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    static const char kNative[] = "native";
    RegSetValueExA(key, "wintab32", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNative), sizeof kNative);
    RegCloseKey(key);
  }
  return RUN_ALL_TESTS();
}

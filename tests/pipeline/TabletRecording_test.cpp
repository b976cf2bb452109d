#include "pipeline/TabletRecording.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "pipeline/DemoSession.h"
#include "pipeline/ReportFormat.h"

namespace pen {
namespace {

using Kind = SessionStep::Kind;

TEST(TabletRecording, ReadsIdentityStartStateEventsAndComments) {
  TTabletRecording rec;
  std::string error;
  ASSERT_TRUE(rec.Parse("# a pen session\n"
                        "device version 0x2110 product \"K24 #2 \\\"pro\\\"\"\n"
                        "start unplugged\n"
                        "\n"
                        "   +0 plug\n"
                        "+8 B 07 0a 1B 00 00 07 08 00 40 00 00 FF 33 fe 0c   # tip up\n"
                        "+12 A 08c0ff0f\n"
                        "wait 250\n"
                        "+5 wait\n"
                        "+1000 unplug\n",
                        error))
      << error;
  EXPECT_EQ(rec.identity.version, 0x2110);
  EXPECT_EQ(rec.identity.product, "K24 #2 \"pro\"");
  EXPECT_TRUE(rec.startUnplugged);
  ASSERT_EQ(rec.steps.size(), 6u);
  EXPECT_EQ(rec.steps[0].kind, Kind::Plug);
  EXPECT_EQ(rec.steps[1].kind, Kind::Report);
  EXPECT_EQ(rec.steps[1].iface, TabletInterface::B);
  EXPECT_EQ(rec.steps[1].delayMs, 8u);
  ASSERT_EQ(rec.steps[1].size, 15);
  EXPECT_EQ(rec.steps[1].bytes[1], 0x0A);
  EXPECT_EQ(rec.steps[1].bytes[13], 0xFE);
  EXPECT_EQ(rec.steps[2].iface, TabletInterface::A);
  ASSERT_EQ(rec.steps[2].size, 4);
  EXPECT_EQ(rec.steps[2].bytes[3], 0x0F);
  EXPECT_EQ(rec.steps[3].kind, Kind::Wait);
  EXPECT_EQ(rec.steps[3].delayMs, 250u);
  EXPECT_EQ(rec.steps[4].delayMs, 5u);
  EXPECT_EQ(rec.steps[5].kind, Kind::Unplug);
  EXPECT_EQ(rec.DurationMs(), 8u + 12 + 250 + 5 + 1000);
}

TEST(TabletRecording, WindowsLineEndingsAndAMissingDeviceLineAreAccepted) {
  TTabletRecording rec;
  std::string error;
  ASSERT_TRUE(rec.Parse("+1 B 07 00\r\n+2 unplug\r\n", error)) << error;
  EXPECT_EQ(rec.identity, TabletIdentity{});
  ASSERT_EQ(rec.steps.size(), 2u);
  EXPECT_EQ(rec.steps[1].kind, Kind::Unplug);
}

TEST(TabletRecording, WrittenTextReadsBackAsTheSameRecording) {
  TTabletRecording rec;
  rec.identity = {0x1803, "odd \"name\" with \\ and # inside"};
  rec.startUnplugged = true;
  rec.AddPlug(0);
  uint8_t report[64];
  for (int i = 0; i < 64; ++i) report[i] = static_cast<uint8_t>(i * 7);
  rec.AddReport(3, TabletInterface::B, report, 64);
  rec.AddReport(4, TabletInterface::A, report, 1);
  rec.AddWait(40);
  rec.AddUnplug(3600000);

  TTabletRecording back;
  std::string error;
  ASSERT_TRUE(back.Parse(rec.Format(), error)) << error << "\n" << rec.Format();
  EXPECT_EQ(back.identity, rec.identity);
  EXPECT_EQ(back.startUnplugged, true);
  EXPECT_EQ(back.steps, rec.steps);
}

TEST(TabletRecording, BuildersKeepWhatTheReaderWouldRefuseOut) {
  TTabletRecording rec;
  uint8_t one = 1;
  rec.AddReport(5, TabletInterface::B, &one, 0);  // an empty report cannot be written
  rec.AddWait(10u * 3600000u);                    // a pause beyond the cap shrinks to it
  ASSERT_EQ(rec.steps.size(), 1u);
  EXPECT_EQ(rec.steps[0].delayMs, 3600000u);
  TTabletRecording back;
  std::string error;
  EXPECT_TRUE(back.Parse(rec.Format(), error)) << error;
}

TEST(TabletRecording, ABadLineNamesItsNumberAndLeavesTheRecordingAlone) {
  struct Case {
    const char* text;
    const char* expect;
  };
  const Case cases[] = {
      {"+1 B 07\n+2 C 00\n", "line 2: unknown event 'C'"},
      {"B 070\n", "line 1: hex byte '070' needs two digits"},
      {"B 0g\n", "line 1: '0g' is not hex"},
      {"B\n", "line 1: report has no bytes"},
      {"+3600001 B 07\n", "line 1: delay '+3600001'"},
      {"+-1 B 07\n", "line 1: delay"},
      {"+ B 07\n", "line 1: delay"},
      {"+5\n", "line 1: delay without an event"},
      {"plug now\n", "line 1: unexpected text after 'plug'"},
      {"+1 wait 5\n", "line 1: unexpected text after 'wait'"},
      {"wait soon\n", "line 1: wait takes"},
      {"device version 0x10000\n", "line 1: version must be"},
      {"device version\n", "line 1: version must be"},
      {"device product \"[R711]Pen\n", "line 1: product string has no closing quote"},
      {"device product \"a\\nb\"\n", "line 1: unknown escape"},
      {"device product \"R7\r11\"\n", "line 1: control character in product string"},
      {"device product R711\n", "line 1: expected a quoted product string"},
      {"device colour red\n", "line 1: unknown device field 'colour'"},
      {"device\n", "line 1: device line names neither"},
      {"start sideways\n", "line 1: start takes"},
      {"\n\n# x\nunplug\n  B 0x07\n", "line 5: '0x07' is not hex"},
  };
  for (const Case& c : cases) {
    TTabletRecording rec;
    rec.AddPlug(7);
    std::string error;
    EXPECT_FALSE(rec.Parse(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.expect), std::string::npos) << c.text << " gave: " << error;
    ASSERT_EQ(rec.steps.size(), 1u) << c.text;
    EXPECT_EQ(rec.steps[0].delayMs, 7u);
  }

  std::string longReport = "B";
  for (int i = 0; i < 65; ++i) longReport += " 00";
  TTabletRecording rec;
  std::string error;
  EXPECT_FALSE(rec.Parse(longReport, error));
  EXPECT_EQ(error, "line 1: report longer than 64 bytes");
  EXPECT_FALSE(rec.Parse("device product \"" + std::string(127, 'x') + "\"", error));
  EXPECT_NE(error.find("longer than 126"), std::string::npos);
}

TEST(TabletRecording, FilesSaveAndLoadAndAMissingFileIsAnError) {
  std::string path = ::testing::TempDir() + "pen_recording_test.txt";
  TTabletRecording rec = MakeDemoSession({0x2201, "[R755]Pen Tablet"});
  ASSERT_TRUE(rec.SaveFile(path));
  TTabletRecording back;
  std::string error;
  ASSERT_TRUE(back.LoadFile(path, error)) << error;
  EXPECT_EQ(back.steps, rec.steps);
  EXPECT_EQ(back.identity.product, "[R755]Pen Tablet");
  std::remove(path.c_str());
  EXPECT_FALSE(back.LoadFile(path, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
}

TEST(DemoSession, HoversDrawsLiftsPressesAKeyOnEachInterfaceAndTurnsTheWheelOnce) {
  TTabletRecording demo = MakeDemoSession();
  EXPECT_EQ(demo.identity, TabletIdentity{});
  EXPECT_FALSE(demo.startUnplugged);
  constexpr int kThreshold = 1450;
  enum Phase { Hover, Down, Lifted } phase = Hover;
  int downReports = 0, keyPressesB = 0, keyPressesA = 0, wheelSteps = 0;
  for (const SessionStep& s : demo.steps) {
    if (s.kind == Kind::Wait) continue;  // time for the wheel's action
    ASSERT_EQ(s.kind, Kind::Report);
    const uint8_t* d = s.bytes.data() + 1;
    if (s.iface == TabletInterface::A) {
      ASSERT_EQ(s.size, kVendorReportBytes);
      VendorKeyPacket k;
      ASSERT_TRUE(DecodeVendorKeyPacket(d, s.size - 1u, k));
      if (k.keyWord) ++keyPressesA;
      if (k.wheel) ++wheelSteps;
      continue;
    }
    ASSERT_EQ(s.size, kDigitizerReportBytes);
    DigitizerReport r;
    ASSERT_TRUE(DecodeDigitizerReport(d, s.size - 1u, r));
    if (!r.noPosition) {
      EXPECT_LE(r.x, 4095);
      EXPECT_LE(r.y, 4095);
      bool down = r.rawPressure < kThreshold;
      if (down) {
        EXPECT_NE(phase, Lifted) << "the tip goes down only once";
        phase = Down;
        ++downReports;
      } else if (phase == Down) {
        phase = Lifted;
      }
    } else if (r.keyBits != 0) {
      ++keyPressesB;
    }
  }
  EXPECT_EQ(phase, Lifted);
  EXPECT_GT(downReports, 50);
  EXPECT_EQ(keyPressesB, 1);
  EXPECT_EQ(keyPressesA, 1);
  EXPECT_EQ(wheelSteps, 1);
}

}  // namespace
}  // namespace pen

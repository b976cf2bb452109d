#include <gtest/gtest.h>

#include "app/penhost/HostOptions.h"

namespace pen {
namespace {

TEST(HostOptions, NoSwitchesMeansTheRealTabletWithoutTrace) {
  HostOptions o;
  std::string error;
  ASSERT_TRUE(o.Parse({}, error));
  EXPECT_FALSE(o.virtualTablet);
  EXPECT_FALSE(o.trace);
  EXPECT_EQ(o.exitAfterMs, 0u);
  EXPECT_TRUE(o.launchPrograms);
}

TEST(HostOptions, VirtualTabletWithAndWithoutARecording) {
  HostOptions demo, file;
  std::string error;
  ASSERT_TRUE(demo.Parse({"--virtual-tablet", "--trace"}, error));
  EXPECT_TRUE(demo.virtualTablet);
  EXPECT_TRUE(demo.recording.empty());
  EXPECT_TRUE(demo.trace);
  EXPECT_TRUE(demo.traceFile.empty());
  ASSERT_TRUE(file.Parse({"--virtual-tablet=C:\\a b\\plug.txt", "--trace=t.log", "--feature-log=f.log",
                          "--exit-after=12"},
                         error));
  EXPECT_EQ(file.recording, "C:\\a b\\plug.txt");
  EXPECT_EQ(file.traceFile, "t.log");
  EXPECT_EQ(file.featureLog, "f.log");
  EXPECT_EQ(file.exitAfterMs, 12000u);
  HostOptions test;
  ASSERT_TRUE(test.Parse({"--virtual-tablet", "--no-launch"}, error));
  EXPECT_FALSE(test.launchPrograms);
}

TEST(HostOptions, TheSettingsWindowOpensWithOrWithoutAPicture) {
  HostOptions plain, picture;
  std::string error;
  ASSERT_TRUE(plain.Parse({"--show-settings"}, error));
  EXPECT_TRUE(plain.showSettings);
  EXPECT_TRUE(plain.screenshotFile.empty());
  ASSERT_TRUE(picture.Parse({"--show-settings=shots\\settings.png"}, error));
  EXPECT_TRUE(picture.showSettings);
  EXPECT_EQ(picture.screenshotFile, "shots\\settings.png");
}

TEST(HostOptions, TheKeySetupWindowOpensWithOrWithoutAPicture) {
  HostOptions plain, picture;
  std::string error;
  ASSERT_TRUE(plain.Parse({"--show-key-setup"}, error));
  EXPECT_TRUE(plain.showKeySetup);
  EXPECT_FALSE(plain.showSettings);
  EXPECT_TRUE(plain.keySetupShotFile.empty());
  ASSERT_TRUE(picture.Parse({"--show-key-setup=keys.png"}, error));
  EXPECT_EQ(picture.keySetupShotFile, "keys.png");
}

TEST(HostOptions, TheScreenMappingWindowOpensFromTheSettingsWindow) {
  HostOptions plain, picture;
  std::string error;
  ASSERT_TRUE(plain.Parse({"--show-screen-mapping"}, error));
  EXPECT_TRUE(plain.showSettings);
  EXPECT_TRUE(plain.showScreenMapping);
  EXPECT_TRUE(plain.screenMappingShotFile.empty());
  ASSERT_TRUE(picture.Parse({"--show-screen-mapping=map.png"}, error));
  EXPECT_EQ(picture.screenMappingShotFile, "map.png");
  EXPECT_TRUE(picture.screenshotFile.empty());  // no picture of the settings window
}

TEST(HostOptions, TheWheelWindowsPicturesNeedAFileName) {
  HostOptions o;
  std::string error;
  ASSERT_TRUE(o.Parse({"--show-wheel=wheel.png", "--show-notice=notice.png"}, error));
  EXPECT_EQ(o.wheelShotFile, "wheel.png");
  EXPECT_EQ(o.noticeShotFile, "notice.png");
  EXPECT_FALSE(o.showSettings);
  for (const char* bad : {"--show-wheel", "--show-wheel=", "--show-notice", "--show-notice="}) {
    HostOptions b;
    EXPECT_FALSE(b.Parse({bad}, error)) << bad;
  }
}

TEST(HostOptions, BadArgumentsAreRefusedWithTheirName) {
  for (const char* bad : {"--show-settings=", "--show-screen-mapping=", "--show-key-setup=", "--exit-after=", "--exit-after=0", "--exit-after=-3", "--exit-after=5s",
                          "--exit-after=99999999999", "--exit-after=3601", "--feature-log", "--no-launch=1", "--frobnicate", "x"}) {
    HostOptions o;
    std::string error;
    EXPECT_FALSE(o.Parse({bad}, error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace pen

// Loading and storing the two configuration files at plug-in and on save.
#include <gtest/gtest.h>

#include "MacFakes.h"
#include "mac/ConfigCoding.h"

namespace penmac::test {
namespace {

constexpr const char* kScrn = "[R711]Pen Tablet.scrn";
constexpr const char* kKeys = "[R711]Pen Tablet.keys";

// The rig before any plug-in.
struct Unplugged : DelegateRig {
  Unplugged() : DelegateRig() {
    files.files.clear();
    files.written.clear();
    delegate.screenConfig = ScreenConfig{};
    delegate.keyDefs.clear();
  }
};

TEST(Config, TheFirstPlugInWritesTheWholeDesktopAndAnEmptyKeyTable) {
  Unplugged rig;
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));
  EXPECT_EQ(rig.delegate.screenConfig.Rotation, "0º");
  EXPECT_EQ(rig.files.written, (std::vector<std::string>{kScrn, kKeys}));
  EXPECT_EQ(DecodeScreenConfig(rig.files.files[kScrn]), rig.delegate.screenConfig);
  EXPECT_EQ(rig.files.files[kKeys], "[]\n");
}

TEST(Config, TwoScreensSideBySideMakeOneRectangle) {
  Unplugged rig;
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {3200, 1080}}));
}

TEST(Config, StoredFilesAreLoadedAtPlugIn) {
  Unplugged rig;
  rig.files.files[kScrn] = R"({"Rect": [[10, 20], [300, 400]], "Rotation": "90º"})";
  rig.files.files[kKeys] = R"([3, {"key": "∙F5", "mouse": ""}, 4096, {"key": "", "mouse": "R"}])";
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.delegate.screenConfig, (ScreenConfig{Rect{{10, 20}, {300, 400}}, "90º"}));
  EXPECT_EQ(rig.delegate.keyDefs, (KeyDefs{{3, KeyDef{"∙F5", ""}}, {4096, KeyDef{"", "R"}}}));
  EXPECT_TRUE(rig.files.written.empty());
}

TEST(Config, AnInvalidScreenFileIsSetAsideAndRewrittenWithTheDefault) {
  Unplugged rig;
  rig.files.files[kScrn] = "{ not json";
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.files.files[std::string(kScrn) + ".bad"], "{ not json");
  EXPECT_EQ(DecodeScreenConfig(rig.files.files[kScrn]), (ScreenConfig{Rect{{0, 0}, {1920, 1080}}, "0º"}));
  EXPECT_TRUE(rig.alerts.shown.empty());
}

TEST(Config, AnInvalidKeysFileIsReplacedByTheDefinitionsInMemory) {
  Unplugged rig;
  rig.delegate.keyDefs[1] = KeyDef{"a", ""};
  rig.files.files[kKeys] = R"({"1": {"key": "b", "mouse": ""}})";
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.delegate.keyDefs, (KeyDefs{{1, KeyDef{"a", ""}}}));
  EXPECT_EQ(DecodeKeyDefs(rig.files.files[kKeys]), rig.delegate.keyDefs);
}

TEST(Config, AFileThatCannotBeWrittenShowsTheErrorAlert) {
  Unplugged rig;
  rig.files.failWrites = true;
  rig.Plug("[R711]Pen Tablet", 0x2201);
  ASSERT_EQ(rig.alerts.shown.size(), 2u);
  EXPECT_EQ(rig.alerts.shown[0].message, "Cannot write [R711]Pen Tablet.scrn: Read-only file system");
  EXPECT_EQ(rig.alerts.shown[0].informative, "penmac/USBDelegate");
  EXPECT_EQ(rig.alerts.shown[0].buttons, (std::vector<std::string>{"OK"}));
  // The defaults serve from memory.
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));
}

TEST(Config, ADefectiveFileThatCannotBeMovedAsideStaysAndTheDefaultServesFromMemory) {
  Unplugged rig;
  rig.files.files[kScrn] = "[]";
  rig.files.failMoves = true;
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.files.files[kScrn], "[]");
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));
  ASSERT_EQ(rig.alerts.shown.size(), 1u);
  EXPECT_EQ(rig.alerts.shown[0].informative, "penmac/USBDelegate");
}

TEST(Config, AnUnreadableFileIsSetAsideLikeAnInvalidOne) {
  Unplugged rig;
  rig.files.files[kScrn] = "{}";
  rig.files.failReads = true;
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_TRUE(rig.files.files.count(std::string(kScrn) + ".bad"));
}

TEST(Config, SaveWritesBothFilesAndAFailedFirstDoesNotStopTheSecond) {
  DelegateRig rig;
  rig.delegate.screenConfig.Rotation = "180º";
  rig.delegate.keyDefs[7] = KeyDef{"x", "L"};
  rig.delegate.SetConfig();
  EXPECT_EQ(DecodeScreenConfig(rig.files.files[kScrn])->Rotation, "180º");
  EXPECT_EQ(DecodeKeyDefs(rig.files.files[kKeys])->at(7), (KeyDef{"x", "L"}));

  struct FailScreenOnly : MemoryFolder {
    FileResult Write(std::string_view name, std::string_view contents) override {
      if (name.ends_with(".scrn")) return {FileResult::Status::Failed, "disk full"};
      return MemoryFolder::Write(name, contents);
    }
  };
  FailScreenOnly folder;
  FakeHidManager hid;
  CountingWaker waker;
  NotificationCenter center(waker);
  FakeRunLoop loop;
  RecordingPoster poster;
  ScreenLayout screens = OneScreen();
  RecordingAlerts alerts;
  USBDelegate delegate(USBDelegatePorts{hid, center, loop, poster, screens, folder, alerts});
  delegate.keyDefs[1] = KeyDef{"a", ""};
  delegate.SetConfig();
  EXPECT_EQ(alerts.shown.size(), 1u);
  EXPECT_EQ(folder.files.count("Tablet Disconnected!.keys"), 1u);
}

TEST(Config, APlugInReloadsTheFilesAndDropsUnsavedChanges) {
  DelegateRig rig;
  rig.delegate.screenConfig.Rotation = "270º";
  rig.delegate.keyDefs[1] = KeyDef{"a", ""};
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.delegate.screenConfig.Rotation, "0º");
  EXPECT_TRUE(rig.delegate.keyDefs.empty());
}

TEST(Config, EachModelKeepsItsOwnFiles) {
  DelegateRig rig;
  rig.Plug("[R755]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.files.files.count("[R755]Pen Tablet.scrn"), 1u);
  EXPECT_EQ(rig.files.files.count(kScrn), 1u);
}

TEST(Config, ASlashInTheProductNameStaysInsideTheFolder) {
  DelegateRig rig;
  rig.Plug("../Pen/Tablet", 0x2201);
  EXPECT_EQ(rig.delegate.ScreenFileName(), ".._Pen_Tablet.scrn");
  EXPECT_EQ(rig.files.files.count(".._Pen_Tablet.keys"), 1u);
}

TEST(Config, PlugAndUnplugFollowTheDeviceAndKeepTheVersion) {
  DelegateRig rig;
  EXPECT_EQ(rig.delegate.deviceName, "[R711]Pen Tablet");
  EXPECT_EQ(rig.delegate.version, 0x2201);
  rig.delegate.onPlugout(Notification{HIDDeviceDisconnected, IdEntry{""}});
  EXPECT_EQ(rig.delegate.deviceName, "Tablet Disconnected!");
  EXPECT_EQ(rig.delegate.version, 0x2201);
  EXPECT_EQ(rig.delegate.ScreenFileName(), "Tablet Disconnected!.scrn");
}

}  // namespace
}  // namespace penmac::test

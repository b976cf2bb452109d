// "TabletWheel.ini" and the choice of the current wheel function.
#include "keys/WheelData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "common/PortableIniFileSystem.h"
#include "support/MemoryFiles.h"

namespace pen::test {
namespace {

namespace fs = std::filesystem;

const char kNewFile[] =
    "[EnableItem]\r\n"
    "MouseWheelEnabled=1\r\n"
    "LineWidthEnabled=0\r\n"
    "ZoomEnabled=0\r\n"
    "RotateCanvasEnabled=1\r\n"
    "DisableAllEnabled=0\r\n"
    "UserKeyEnabled=0\r\n"
    "UndoRedoEnabled=1\r\n"
    "VolumeEnabled=1\r\n"
    "HideWheel=0\r\n"
    "[KeyDefine]\r\n"
    "LineWidthRLeft.extraKey=0\r\n"
    "LineWidthRLeft.MainKey=219\r\n"
    "LineWidthRRight.extraKey=0\r\n"
    "LineWidthRRight.MainKey=221\r\n"
    "ZoomRLeft.extraKey=1\r\n"
    "ZoomRLeft.MainKey=189\r\n"
    "ZoomRRight.extraKey=1\r\n"
    "ZoomRRight.MainKey=187\r\n"
    "UserKeyRLeft.extraKey=0\r\n"
    "UserKeyRLeft.MainKey=0\r\n"
    "UserKeyRRight.extraKey=0\r\n"
    "UserKeyRRight.MainKey=0\r\n"
    "[WorkMode]\r\n"
    "RotateCanvasType=0\r\n"
    "UndoRedoType=0\r\n";

// On disk, through the portable INI back end.
class WheelFile : public ::testing::Test {
 protected:
  WheelFile() {
    std::random_device random;
    root = fs::temp_directory_path() / ("pen-wheel-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(root / "program");
    folders.program = (root / "program").string() + "/";
    folders.user = (root / "user").string() + "/";
  }
  ~WheelFile() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Write(const std::string& text) { std::ofstream(folders.program + "TabletWheel.ini", std::ios::binary) << text; }

  fs::path root;
  FixedFolders folders;
  PortableIniFileSystem ini;
};

TEST_F(WheelFile, ANewInstallationWritesTheDefaultsAndStartsWithVolume) {
  TWheelData data(ini, folders);
  EXPECT_EQ(Read(folders.program + "TabletWheel.ini"), kNewFile);
  EXPECT_EQ(data.CurrentFunction, 7);
  EXPECT_EQ(data.EnabledList(), (std::array<uint8_t, 8>{1, 0, 0, 1, 0, 0, 1, 1}));
  EXPECT_EQ(TWheelData::FileText(kDefaultWheelSettings), kNewFile);
}

TEST_F(WheelFile, KeysMissingFromAnExistingFileTakeTheirOwnDefaults) {
  Write("; hand-edited\r\n[EnableItem]\r\nZoomEnabled=1\r\n");
  TWheelData data(ini, folders);
  const WheelSettings& s = data.Settings();
  EXPECT_EQ(data.EnabledList(), (std::array<uint8_t, 8>{1, 0, 1, 1, 0, 0, 1, 1}));
  // Without [KeyDefine] LineWidth and Zoom have no keys.
  EXPECT_EQ(s[wheel_field::kZoomRLeft], 0);
  EXPECT_EQ(s[wheel_field::kZoomRLeft + 1], 0);
  EXPECT_EQ(s[wheel_field::kLineWidthRRight + 1], 0);
  EXPECT_EQ(s[wheel_field::kHideWheel], 0);
  EXPECT_EQ(Read(folders.program + "TabletWheel.ini"), "; hand-edited\r\n[EnableItem]\r\nZoomEnabled=1\r\n");
}

TEST_F(WheelFile, IntegersAreCutToTheirLowByteAndBooleansAreAnyNonZero) {
  Write("[EnableItem]\r\nMouseWheelEnabled=0\r\nHideWheel=256\r\nVolumeEnabled=abc\r\n"
        "[KeyDefine]\r\nZoomRLeft.MainKey=445\r\nZoomRLeft.extraKey=-1\r\n[WorkMode]\r\nUndoRedoType=258\r\n");
  TWheelData data(ini, folders);
  const WheelSettings& s = data.Settings();
  EXPECT_EQ(s[wheel_field::kMouseWheelEnabled], 0);
  EXPECT_EQ(s[wheel_field::kHideWheel], 1);
  EXPECT_EQ(s[wheel_field::kVolumeEnabled], 1);  // unreadable: its default
  EXPECT_EQ(s[wheel_field::kZoomRLeft + 1], 189);
  EXPECT_EQ(s[wheel_field::kZoomRLeft], 255);
  EXPECT_EQ(s[wheel_field::kUndoRedoType], 2);
}

TEST_F(WheelFile, SavingAnExistingFileWritesEveryKeyAndKeepsTheRest) {
  Write("; mine\r\n[Other]\r\nA=1\r\n");
  TWheelData data(ini, folders);
  data.Settings()[wheel_field::kZoomEnabled] = 1;
  data.Settings()[wheel_field::kRotateCanvasType] = 3;
  ASSERT_TRUE(data.SaveWheelSettings());
  const std::string text = Read(folders.program + "TabletWheel.ini");
  EXPECT_EQ(text.rfind("; mine\r\n[Other]\r\nA=1\r\n[EnableItem]\r\nMouseWheelEnabled=1\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("ZoomEnabled=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("RotateCanvasType=3\r\n"), std::string::npos);
  TWheelData again(ini, folders);
  EXPECT_EQ(again.Settings(), data.Settings());
}

TEST_F(WheelFile, AProgramFolderThatCannotBeWrittenKeepsTheFileInTheUsersFolder) {
  folders.program = (root / "missing" / "program").string() + "/";
  TWheelData data(ini, folders);
  EXPECT_EQ(data.FileName(), folders.user + "TabletWheel.ini");
  EXPECT_EQ(Read(folders.user + "TabletWheel.ini"), kNewFile);
  data.Settings()[wheel_field::kVolumeEnabled] = 0;
  ASSERT_TRUE(data.SaveWheelSettings());
  TWheelData again(ini, folders);
  EXPECT_EQ(again.CurrentFunction, 6);
}

// The rotation, in memory.
class Rotation : public ::testing::Test {
 protected:
  MemoryFileStore store;
  MemoryIniFileSystem ini{store};
  FixedFolders folders;

  TWheelData With(std::initializer_list<int> enabled) {
    std::string text = "[EnableItem]\r\n";
    for (int i = 0; i < 8; ++i) {
      const bool on = std::find(enabled.begin(), enabled.end(), i) != enabled.end();
      text += std::string(kWheelFunctionNames[static_cast<size_t>(i)]) + "Enabled=" + (on ? "1" : "0") + "\r\n";
    }
    store.files["/prog/TabletWheel.ini"] = text;
    return TWheelData(ini, folders);
  }
};

TEST_F(Rotation, TheNextFunctionIsTheNextEnabledOneRoundTheDial) {
  TWheelData data = With({1, 3, 6});
  EXPECT_EQ(data.CurrentFunction, 6);
  data.NextEnabledFunction();
  EXPECT_EQ(data.CurrentFunction, 1);
  data.NextEnabledFunction();
  EXPECT_EQ(data.CurrentFunction, 3);
  data.NextEnabledFunction();
  EXPECT_EQ(data.CurrentFunction, 6);
}

TEST_F(Rotation, WithOnlyZoomEnabledZoomIsKept) {
  TWheelData data = With({2});
  EXPECT_EQ(data.CurrentFunction, 2);
  data.NextEnabledFunction();
  EXPECT_EQ(data.CurrentFunction, 2);
  EXPECT_TRUE(data.CurrentFunctionEnabled());
}

TEST_F(Rotation, WithNothingEnabledTheWheelFallsBackToDisableAll) {
  TWheelData data = With({});
  EXPECT_EQ(data.CurrentFunction, 4);
  data.CurrentFunction = 1;
  data.NextEnabledFunction();
  EXPECT_EQ(data.CurrentFunction, 4);
  EXPECT_FALSE(data.CurrentFunctionEnabled());
  data.CurrentFunction = 9;  // outside the dial: still no endless search
  EXPECT_FALSE(data.CurrentFunctionEnabled());
  EXPECT_EQ(data.CurrentFunction, 4);
}

TEST_F(Rotation, ADisabledCurrentFunctionMovesOnToTheNextEnabled) {
  TWheelData data = With({0, 7});
  data.Settings()[wheel_field::kVolumeEnabled] = 0;
  data.RefreshEnabledList();
  EXPECT_TRUE(data.CurrentFunctionEnabled());
  EXPECT_EQ(data.CurrentFunction, 0);
}

}  // namespace
}  // namespace pen::test

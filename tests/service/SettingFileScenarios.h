#pragma once
// The settings file's behaviour, run against every INI back end: each test
// file instantiates SettingFileScenario with a Backend that has
// `static std::unique_ptr<IIniFileSystem> Make()`.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "service/SettingFile.h"
#include "tests/service/SettingFileFakes.h"

namespace pen::test {

namespace fs = std::filesystem;

template <class Backend>
class SettingFileScenario : public ::testing::Test {
 protected:
  SettingFileScenario() {
    std::random_device random;
    root = fs::temp_directory_path() / ("pen-settings-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(root / "program");
    fs::create_directories(root / "appdata");
    folders.program = Folder(root / "program");
    folders.user = Folder(root / "appdata" / "penhost");
  }
  ~SettingFileScenario() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }

  static std::string Folder(const fs::path& path) {
    return path.string() + static_cast<char>(fs::path::preferred_separator);
  }
  std::string ProgramFile() const { return folders.program + "TSetting.ini"; }
  std::string UserFile() const { return folders.user + "TSetting.ini"; }

  static std::string Contents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Store(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  // A folder that cannot be created or written by anyone: its parent is a file.
  std::string BlockedFolder(const std::string& name) {
    Store((root / name).string(), "not a folder");
    return Folder(root / name / "inside");
  }

  TSettingFile Start(int windowsMajor = 10) { return TSettingFile(faulty, folders, windowsMajor); }

  static void ExpectFactoryValues(const TSettingFile& s) {
    EXPECT_EQ(s.InkMode, 1);
    EXPECT_EQ(s.LeftHandMode, 0);
    EXPECT_EQ(s.Smoothness, 0);
    EXPECT_EQ(s.ScreenMapLeft, 0);
    EXPECT_EQ(s.ScreenMapTop, 0);
    EXPECT_EQ(s.ScreenMapRight, 4095);
    EXPECT_EQ(s.ScreenMapBottom, 4095);
    EXPECT_EQ(s.TabletMapLeft, 0);
    EXPECT_EQ(s.TabletMapTop, 0);
    EXPECT_EQ(s.TabletMapRight, 4095);
    EXPECT_EQ(s.TabletMapBottom, 4095);
  }

  static void SetSample(TSettingFile& s) {
    s.InkMode = 0;
    s.LeftHandMode = 1;
    s.Smoothness = 2;
    s.ScreenMapLeft = 100;
    s.ScreenMapTop = 200;
    s.ScreenMapRight = 3000;
    s.ScreenMapBottom = 3100;
    s.TabletMapLeft = 10;
    s.TabletMapTop = 20;
    s.TabletMapRight = 2010;
    s.TabletMapBottom = 1020;
  }

  static void ExpectSample(const TSettingFile& s) {
    EXPECT_EQ(s.InkMode, 0);
    EXPECT_EQ(s.LeftHandMode, 1);
    EXPECT_EQ(s.Smoothness, 2);
    EXPECT_EQ(s.ScreenMapLeft, 100);
    EXPECT_EQ(s.ScreenMapTop, 200);
    EXPECT_EQ(s.ScreenMapRight, 3000);
    EXPECT_EQ(s.ScreenMapBottom, 3100);
    EXPECT_EQ(s.TabletMapLeft, 10);
    EXPECT_EQ(s.TabletMapTop, 20);
    EXPECT_EQ(s.TabletMapRight, 2010);
    EXPECT_EQ(s.TabletMapBottom, 1020);
  }

  // A settings file holding the sample values, with `extra` lines appended.
  void StoreSample(const std::string& name, const std::string& extra = "") {
    Store(name,
          "[MainItem]\r\nInkMode=0\r\nSmoothness=2\r\nLeftHandMode=1\r\n[Mapping]\r\n"
          "ScreenMapLeft=100\r\nScreenMapTop=200\r\nScreenMapRight=3000\r\nScreenMapBottom=3100\r\n"
          "TabletMapLeft=10\r\nTabletMapTop=20\r\nTabletMapRight=2010\r\nTabletMapBottom=1020\r\n" +
              extra);
  }

  fs::path root;
  FakeAppFolders folders;
  std::unique_ptr<IIniFileSystem> real = Backend::Make();
  FaultyIniFileSystem faulty{*real};
};

TYPED_TEST_SUITE_P(SettingFileScenario);

// ---- the factory file --------------------------------------------------

TYPED_TEST_P(SettingFileScenario, AMissingFileIsCreatedAsTheThirteenLineFactoryFile) {
  const TSettingFile s = this->Start();
  EXPECT_EQ(s.FileName(), this->ProgramFile());
  EXPECT_EQ(this->Contents(this->ProgramFile()),
            "[MainItem]\r\nInkMode=1\r\nSmoothness=0\r\nLeftHandMode=0\r\n[Mapping]\r\n"
            "ScreenMapLeft=0\r\nScreenMapTop=0\r\nScreenMapRight=4095\r\nScreenMapBottom=4095\r\n"
            "TabletMapLeft=0\r\nTabletMapTop=0\r\nTabletMapRight=4095\r\nTabletMapBottom=4095\r\n");
  this->ExpectFactoryValues(s);
  EXPECT_FALSE(fs::exists(this->UserFile())) << "the user's folder is only for unwritable program folders";
}

TYPED_TEST_P(SettingFileScenario, DeletingTheFileBringsBackTheFactoryFileAndValues) {
  {
    TSettingFile s = this->Start();
    this->SetSample(s);
    ASSERT_TRUE(s.Write());
  }
  fs::remove(this->ProgramFile());
  const TSettingFile s = this->Start();
  EXPECT_EQ(this->Contents(this->ProgramFile()), std::string(TSettingFile::kDefaultFileText));
  this->ExpectFactoryValues(s);
}

TYPED_TEST_P(SettingFileScenario, StartingWithAnExistingFileLeavesItUntouched) {
  this->StoreSample(this->ProgramFile(), "; kept as typed\n[Other]\nName = x\n");
  const std::string before = this->Contents(this->ProgramFile());
  TSettingFile s = this->Start();
  this->ExpectSample(s);
  s.ScreenMapRight = 9999;
  s.Validate();  // corrects the fields only
  EXPECT_EQ(this->Contents(this->ProgramFile()), before);
}

// ---- reading and validation ---------------------------------------------

TYPED_TEST_P(SettingFileScenario, WrittenValuesAreReadBackOnTheNextStart) {
  {
    TSettingFile s = this->Start();
    this->SetSample(s);
    ASSERT_TRUE(s.Write());
  }
  this->ExpectSample(this->Start());
}

TYPED_TEST_P(SettingFileScenario, TheElevenKeysAreWrittenInTheirFixedOrder) {
  TSettingFile s = this->Start();
  this->faulty.writes.clear();
  ASSERT_TRUE(s.Write());
  std::vector<std::string> order;
  for (const auto& w : this->faulty.writes) order.push_back(w.section + "/" + w.key);
  EXPECT_EQ(order, (std::vector<std::string>{
                       "MainItem/InkMode", "MainItem/LeftHandMode", "MainItem/Smoothness",
                       "Mapping/ScreenMapLeft", "Mapping/ScreenMapTop", "Mapping/ScreenMapRight",
                       "Mapping/ScreenMapBottom", "Mapping/TabletMapLeft", "Mapping/TabletMapTop",
                       "Mapping/TabletMapRight", "Mapping/TabletMapBottom"}));
}

TYPED_TEST_P(SettingFileScenario, ANarrowScreenRectangleResetsEverySetting) {
  this->StoreSample(this->ProgramFile());
  // ScreenMapLeft 3700 and ScreenMapRight 4000: only 300 units wide.
  std::string text = this->Contents(this->ProgramFile());
  text.replace(text.find("ScreenMapLeft=100"), 17, "ScreenMapLeft=3700");
  text.replace(text.find("ScreenMapRight=3000"), 19, "ScreenMapRight=4000");
  this->Store(this->ProgramFile(), text);
  this->ExpectFactoryValues(this->Start());
}

TYPED_TEST_P(SettingFileScenario, ATabletRectangleBeyondTheLastUnitResetsEverySetting) {
  this->StoreSample(this->ProgramFile(), "");
  std::string text = this->Contents(this->ProgramFile());
  text.replace(text.find("TabletMapBottom=1020"), 20, "TabletMapBottom=4096");
  this->Store(this->ProgramFile(), text);
  this->ExpectFactoryValues(this->Start());
}

TYPED_TEST_P(SettingFileScenario, RectanglesExactlyFourHundredUnitsAcrossAreKept) {
  TSettingFile s = this->Start();
  s.ScreenMapLeft = 3695;
  s.ScreenMapRight = 4095;
  s.TabletMapTop = 100;
  s.TabletMapBottom = 500;
  s.LeftHandMode = 1;
  s.Validate();
  EXPECT_EQ(s.ScreenMapLeft, 3695);
  EXPECT_EQ(s.TabletMapBottom, 500);
  EXPECT_EQ(s.LeftHandMode, 1);
  s.TabletMapBottom = 499;
  s.Validate();
  this->ExpectFactoryValues(s);
}

TYPED_TEST_P(SettingFileScenario, AHugeLeftEdgeCannotWrapPastTheWidthTest) {
  TSettingFile s = this->Start();
  s.InkMode = 0;
  s.TabletMapLeft = INT32_MAX - 100;  // Left + 400 is beyond the 32-bit range
  s.Validate();
  this->ExpectFactoryValues(s);
}

TYPED_TEST_P(SettingFileScenario, OutOfRangeFlagsFallBackOneByOne) {
  this->Store(this->ProgramFile(), "[MainItem]\r\nInkMode=5\r\nSmoothness=7\r\nLeftHandMode=2\r\n");
  TSettingFile s = this->Start();
  EXPECT_EQ(s.InkMode, 1);
  EXPECT_EQ(s.Smoothness, 0);
  EXPECT_EQ(s.LeftHandMode, 0);

  this->Store(this->ProgramFile(), "[MainItem]\r\nInkMode=0\r\nSmoothness=3\r\nLeftHandMode=1\r\n");
  s.Read();
  EXPECT_EQ(s.InkMode, 0);
  EXPECT_EQ(s.Smoothness, 3);
  EXPECT_EQ(s.LeftHandMode, 1);
}

TYPED_TEST_P(SettingFileScenario, NegativeValuesPassValidationUnchanged) {
  this->Store(this->ProgramFile(),
              "[MainItem]\r\nInkMode=-1\r\nSmoothness=-2\r\nLeftHandMode=-3\r\n"
              "[Mapping]\r\nScreenMapLeft=-50\r\nScreenMapTop=-7\r\n");
  const TSettingFile s = this->Start();
  EXPECT_EQ(s.InkMode, -1);
  EXPECT_EQ(s.Smoothness, -2);
  EXPECT_EQ(s.LeftHandMode, -3);
  EXPECT_EQ(s.ScreenMapLeft, -50);
  EXPECT_EQ(s.ScreenMapTop, -7);
}

TYPED_TEST_P(SettingFileScenario, BeforeVistaWindowsInkIsNeverUsedAndTheNextWriteStoresThat) {
  this->StoreSample(this->ProgramFile());
  TSettingFile old = this->Start(5);
  EXPECT_EQ(old.InkMode, 1);
  EXPECT_EQ(old.LeftHandMode, 1) << "only the ink choice changes";
  ASSERT_TRUE(old.Write());
  EXPECT_EQ(this->Start(10).InkMode, 1);

  this->StoreSample(this->ProgramFile());
  EXPECT_EQ(this->Start(6).InkMode, 0);
}

TYPED_TEST_P(SettingFileScenario, MissingTabletRightAndBottomKeepTheOtherValues) {
  this->StoreSample(this->ProgramFile());
  std::string text = this->Contents(this->ProgramFile());
  text.erase(text.find("TabletMapRight"));
  this->Store(this->ProgramFile(), text);
  const TSettingFile s = this->Start();
  EXPECT_EQ(s.InkMode, 0);
  EXPECT_EQ(s.LeftHandMode, 1);
  EXPECT_EQ(s.ScreenMapRight, 3000);
  EXPECT_EQ(s.TabletMapLeft, 10);
  EXPECT_EQ(s.TabletMapTop, 20);
  EXPECT_EQ(s.TabletMapRight, 4095);
  EXPECT_EQ(s.TabletMapBottom, 4095);
}

TYPED_TEST_P(SettingFileScenario, AValueThatIsNotANumberReadsAsTheKeysDefault) {
  this->Store(this->ProgramFile(),
              "[MainItem]\r\nInkMode=abc\r\nSmoothness=\r\nLeftHandMode=1x\r\n"
              "[Mapping]\r\nScreenMapRight=12abc\r\nScreenMapBottom=4000.5\r\n"
              "ScreenMapLeft=0x10\r\nScreenMapTop=-7\r\nTabletMapRight=99999999999\r\n");
  const TSettingFile s = this->Start();
  EXPECT_EQ(s.InkMode, 1);
  EXPECT_EQ(s.Smoothness, 0);
  EXPECT_EQ(s.LeftHandMode, 0);
  EXPECT_EQ(s.ScreenMapRight, 4095);
  EXPECT_EQ(s.ScreenMapBottom, 4095);
  EXPECT_EQ(s.ScreenMapLeft, 16) << "hexadecimal is a number";
  EXPECT_EQ(s.ScreenMapTop, -7);
  EXPECT_EQ(s.TabletMapRight, 4095) << "beyond 32 bits is not a number we can hold";
}

TYPED_TEST_P(SettingFileScenario, NamesIgnoreCaseAndBlanksAndBothLineEndingsRead) {
  this->Store(this->ProgramFile(),
              "  [ mainitem ]  \n  inkmode = 0  \nLEFTHANDMODE\t=\t1\n"
              "[MAPPING]\r\nscreenmapleft=  250 \r\n");
  const TSettingFile s = this->Start();
  EXPECT_EQ(s.InkMode, 0);
  EXPECT_EQ(s.LeftHandMode, 1);
  EXPECT_EQ(s.ScreenMapLeft, 250);
}

// ---- writing keeps the rest of the file ------------------------------------

TYPED_TEST_P(SettingFileScenario, WritingKeepsCommentsOtherKeysAndOtherSections) {
  this->Store(this->ProgramFile(),
              "; tuned for the studio tablet\r\n[MainItem]\r\nInkMode=1\r\nVersion=7\r\n"
              "[Other]\r\nPort=42\r\n[Mapping]\r\nScreenMapLeft=0\r\n");
  TSettingFile s = this->Start();
  this->SetSample(s);
  ASSERT_TRUE(s.Write());
  const std::string text = this->Contents(this->ProgramFile());
  EXPECT_NE(text.find("; tuned for the studio tablet"), std::string::npos) << text;
  EXPECT_LT(text.find("[MainItem]"), text.find("[Other]"));
  EXPECT_LT(text.find("[Other]"), text.find("[Mapping]"));
  const auto ini = this->real->Open(this->ProgramFile());
  EXPECT_EQ(ini->ReadInteger("MainItem", "Version", 0), 7);
  EXPECT_EQ(ini->ReadInteger("Other", "Port", 0), 42);
  EXPECT_EQ(ini->ReadInteger("Other", "InkMode", -5), -5) << "keys go to their own section";
  this->ExpectSample(this->Start());
}

TYPED_TEST_P(SettingFileScenario, WritingIntoAnLfFileAddsTheMissingSection) {
  this->Store(this->ProgramFile(), "[MainItem]\nInkMode=1\n");
  TSettingFile s = this->Start();
  this->SetSample(s);
  ASSERT_TRUE(s.Write());
  this->ExpectSample(this->Start());
}

// ---- where the file lives ---------------------------------------------------

TYPED_TEST_P(SettingFileScenario, AnUnwritableProgramFolderMovesTheFileToTheUsersFolder) {
  this->folders.program = this->BlockedFolder("readonly-install");
  {
    TSettingFile s = this->Start();
    EXPECT_EQ(s.FileName(), this->UserFile());
    EXPECT_EQ(this->Contents(this->UserFile()), std::string(TSettingFile::kDefaultFileText));
    this->SetSample(s);
    ASSERT_TRUE(s.Write());
  }
  const TSettingFile again = this->Start();
  EXPECT_EQ(again.FileName(), this->UserFile());
  this->ExpectSample(again);
}

TYPED_TEST_P(SettingFileScenario, AFileInTheUsersFolderIsPreferredToTheProgramFolders) {
  this->Start();  // factory file in the program folder
  fs::create_directories(fs::path(this->folders.user));
  this->StoreSample(this->UserFile());
  const TSettingFile s = this->Start();
  EXPECT_EQ(s.FileName(), this->UserFile());
  this->ExpectSample(s);
}

TYPED_TEST_P(SettingFileScenario, AFailedWriteInTheProgramFolderGoesToTheUsersFolderLosingNothing) {
  this->StoreSample(this->ProgramFile(), "; hand-made\r\n");
  const std::string before = this->Contents(this->ProgramFile());
  TSettingFile s = this->Start();
  this->faulty.failUnder = this->folders.program;  // the folder became read-only
  s.InkMode = 1;
  s.TabletMapRight = 3333;
  ASSERT_TRUE(s.Write());
  EXPECT_EQ(s.FileName(), this->UserFile());
  EXPECT_EQ(this->Contents(this->ProgramFile()), before) << "the old file is neither cut nor changed";
  const TSettingFile again = this->Start();
  EXPECT_EQ(again.InkMode, 1);
  EXPECT_EQ(again.TabletMapRight, 3333);
  EXPECT_EQ(again.LeftHandMode, 1);
}

TYPED_TEST_P(SettingFileScenario, WhenNoFolderCanBeWrittenWriteFailsAndTheValuesStay) {
  this->folders.program = this->BlockedFolder("blocked-program");
  this->folders.user = this->BlockedFolder("blocked-user");
  TSettingFile s = this->Start();
  this->ExpectFactoryValues(s);
  this->SetSample(s);
  EXPECT_FALSE(s.Write());
  this->ExpectSample(s);
  this->folders.user.clear();  // and when the system names no user folder
  EXPECT_FALSE(s.Write());
  this->ExpectSample(s);
}

TYPED_TEST_P(SettingFileScenario, AFileThatCannotBeChangedInPlaceKeepsItsSettingsAfterAFailedWrite) {
  this->StoreSample(this->ProgramFile());
  const std::string before = this->Contents(this->ProgramFile());
  TSettingFile s = this->Start();
  this->faulty.failUnder = this->root.string();  // program and user folders alike
  s.Smoothness = 0;
  EXPECT_FALSE(s.Write());
  EXPECT_EQ(s.Smoothness, 0);
  EXPECT_EQ(s.LeftHandMode, 1);
  EXPECT_EQ(this->Contents(this->ProgramFile()), before);
  EXPECT_FALSE(fs::exists(this->UserFile()));
}

REGISTER_TYPED_TEST_SUITE_P(SettingFileScenario,
                            AMissingFileIsCreatedAsTheThirteenLineFactoryFile,
                            DeletingTheFileBringsBackTheFactoryFileAndValues,
                            StartingWithAnExistingFileLeavesItUntouched,
                            WrittenValuesAreReadBackOnTheNextStart,
                            TheElevenKeysAreWrittenInTheirFixedOrder,
                            ANarrowScreenRectangleResetsEverySetting,
                            ATabletRectangleBeyondTheLastUnitResetsEverySetting,
                            RectanglesExactlyFourHundredUnitsAcrossAreKept,
                            AHugeLeftEdgeCannotWrapPastTheWidthTest,
                            OutOfRangeFlagsFallBackOneByOne,
                            NegativeValuesPassValidationUnchanged,
                            BeforeVistaWindowsInkIsNeverUsedAndTheNextWriteStoresThat,
                            MissingTabletRightAndBottomKeepTheOtherValues,
                            AValueThatIsNotANumberReadsAsTheKeysDefault,
                            NamesIgnoreCaseAndBlanksAndBothLineEndingsRead,
                            WritingKeepsCommentsOtherKeysAndOtherSections,
                            WritingIntoAnLfFileAddsTheMissingSection,
                            AnUnwritableProgramFolderMovesTheFileToTheUsersFolder,
                            AFileInTheUsersFolderIsPreferredToTheProgramFolders,
                            AFailedWriteInTheProgramFolderGoesToTheUsersFolderLosingNothing,
                            WhenNoFolderCanBeWrittenWriteFailsAndTheValuesStay,
                            AFileThatCannotBeChangedInPlaceKeepsItsSettingsAfterAFailedWrite);

}  // namespace pen::test

// The per-group definitions files: creation, reading, replacement, reset.
#include <thread>

#include "ButtonManagerFixture.h"
#include "support/QuietButtons.h"

namespace pen::test {
namespace {

using DefinitionsFiles = ButtonManagerTest;

TEST_F(DefinitionsFiles, ConnectingAnR9270WithoutAFileRecreatesR711DefWithTheR711Table) {
  Connect("R9270");
  EXPECT_EQ(File("/prog/R711Def.bin"), R711File());
  EXPECT_EQ(buttons.DefinitionsPath(), "/prog/R711Def.bin");
  EXPECT_FALSE(buttons.Modified());
  EXPECT_EQ(store.files.size(), 1u);
}

TEST_F(DefinitionsFiles, FactoryTablesSetOnlyTheirOwnSlots) {
  buttons.SetDefinition(20, 1, 65);
  buttons.SetDefinition(7, 2, 66);  // within the R733 table: replaced
  Connect("R733");
  const std::string expected("\x04\x00\x02\x00\x00\x20\x00\x09\x01\x1d\x00\x02", 12);
  const std::string file = File("/prog/R733Def.bin");
  ASSERT_EQ(file.size(), 64u);
  EXPECT_EQ(file.substr(0, 12), expected);
  EXPECT_EQ(file.substr(12, 2), std::string("\x00\x00", 2));
  EXPECT_EQ(file.substr(14, 2), std::string("\x02\x42", 2));  // slot 7 kept
  EXPECT_EQ(file.substr(40, 2), std::string("\x01\x41", 2));  // slot 20 kept
}

TEST_F(DefinitionsFiles, AnExistingFileIsReadAndNotRewritten) {
  std::string edited = R711File();
  edited[18] = 4;   // slot 9: Shift + A instead of Space
  edited[19] = 65;
  store.files["/prog/R711Def.bin"] = edited;
  Connect("K24 ");  // the trailing blank belongs to the code
  EXPECT_EQ(State(Device(1)), (Events{"down 16/42", "down 65/30"}));
  EXPECT_EQ(File("/prog/R711Def.bin"), edited);
  EXPECT_EQ(buttons.Definitions()[19], 65);
}

TEST_F(DefinitionsFiles, AFileOfTheWrongSizeOrUnreadableIsReplacedByTheFactoryTable) {
  store.files["/prog/R711Def.bin"] = std::string(10, '\x07');
  Connect("R711");
  EXPECT_EQ(File("/prog/R711Def.bin"), R711File());

  store.files["/prog/R755Def.bin"] = std::string(65, '\x07');
  Connect("R755");
  EXPECT_EQ(File("/prog/R755Def.bin").size(), 64u);
  EXPECT_EQ(File("/prog/R755Def.bin").substr(0, 4), std::string("\x01\xbd\x01\xbb"));

  store.files["/prog/R766Def.bin"] = std::string(64, '\x07');
  files.unreadable.push_back("/prog/R766Def.bin");
  Connect("R766");
  EXPECT_EQ(buttons.Definition(0), (KeyDefinition{1, 187}));
}

TEST_F(DefinitionsFiles, WithoutAGroupNoFileIsMadeAndTheSlotsKeepTheirValues) {
  Connect("R711");
  store.files.clear();
  Connect("K24");  // without the blank: no group
  EXPECT_TRUE(store.files.empty());
  EXPECT_EQ(buttons.Definition(0), (KeyDefinition{0, 69}));
  // Saving writes them under the model's own name.
  buttons.SaveDefinitions();
  EXPECT_EQ(File("/prog/K24Def.bin"), R711File());
}

TEST_F(DefinitionsFiles, AModelCodeThatIsNoFileNameReachesNoFile) {
  for (const char* code : {"", "..\\R711", "a/b", "R7:11", "R\x01"}) {
    buttons.SetModelCode(code);
    buttons.LoadDefinitions();
    buttons.SetDefinition(0, 1, 1);
    buttons.SaveDefinitions();
    EXPECT_TRUE(store.files.empty()) << code;
    EXPECT_FALSE(buttons.Modified()) << code;
  }
}

TEST_F(DefinitionsFiles, EditsMarkTheDefinitionsModifiedAndSavingWritesThem) {
  Connect("R711");
  buttons.SetDefinition(0, 0, 69);  // unchanged
  buttons.SetDefinition(32, 1, 1);  // no such slot
  EXPECT_FALSE(buttons.Modified());
  buttons.SetDefinition(13, 4, 112);
  EXPECT_TRUE(buttons.Modified());
  buttons.SaveDefinitions();
  EXPECT_FALSE(buttons.Modified());
  std::string expected = R711File();
  expected[26] = 4;
  expected[27] = 112;
  EXPECT_EQ(File("/prog/R711Def.bin"), expected);
  // A block handed back by the key-setup windows is the same as slot edits.
  ButtonDefinitions block = buttons.Definitions();
  block[63] = 9;
  buttons.SetDefinitions(block);
  EXPECT_TRUE(buttons.Modified());
  EXPECT_EQ(buttons.Definition(31), (KeyDefinition{0, 9}));
}

TEST_F(DefinitionsFiles, AProgramFolderThatCannotBeWrittenSendsTheFileToTheUsersFolder) {
  store.files["/prog/R711Def.bin"] = R711File();
  store.readOnly = "/prog/";
  Connect("R711");
  buttons.SetDefinition(0, 0, 70);
  buttons.SaveDefinitions();
  EXPECT_EQ(File("/prog/R711Def.bin"), R711File());  // untouched
  EXPECT_EQ(File("/user/R711Def.bin")[1], 70);
  // From now on the user's copy is the one read.
  buttons.SetDefinition(0, 0, 69);
  buttons.LoadDefinitions();
  EXPECT_EQ(buttons.Definition(0), (KeyDefinition{0, 70}));
  EXPECT_EQ(buttons.DefinitionsPath(), "/user/R711Def.bin");
}

TEST_F(DefinitionsFiles, AResetWithoutATabletDeletesTheSixGroupFilesInBothFoldersAndLoadsNothing) {
  for (const char* code : {"R700", "R711", "R733", "R755", "R766", "R788"}) {
    store.files[std::string("/prog/") + code + "Def.bin"] = "x";
    store.files[std::string("/user/") + code + "Def.bin"] = "x";
  }
  store.files["/prog/X100Def.bin"] = "kept";
  buttons.ResetAllDefinitions();
  EXPECT_EQ(store.files.size(), 1u);
  EXPECT_EQ(File("/prog/X100Def.bin"), "kept");
}

TEST_F(DefinitionsFiles, AResetWithATabletReinstallsItsFactoryTable) {
  Connect("R711");
  buttons.SetDefinition(0, 7, 7);
  buttons.SaveDefinitions();
  buttons.ResetAllDefinitions();
  EXPECT_EQ(File("/prog/R711Def.bin"), R711File());
  EXPECT_EQ(buttons.Definition(0), (KeyDefinition{0, 69}));
  EXPECT_EQ(buttons.ModelCode(), "R711");
}

// Both read threads and the repeat tick at once: every key that went down
// comes up again, whatever the interleaving.
TEST(ButtonManagerThreads, ReadThreadsAndTheRepeatTickNeverLeaveAKeyDown) {
  QuietButtons<RecordingInput> rig;
  rig.Connect("R711");
  TButtonManager& buttons = rig.buttons;
  ManualTimer& timer = rig.timer;
  RecordingInput& input = rig.input;
  buttons.SetDefinition(7, 1, 6);  // device 0: Ctrl + WheelDown, repeats
  std::atomic<bool> stop{false};
  std::thread ticks([&] {
    while (!stop) timer.Tick();
  });
  auto reader = [&](uint32_t mask) {
    for (int i = 0; i < 2000; ++i) buttons.SetButtonState(i % 2 ? mask : 0);
  };
  std::thread a(reader, Device(0)), b(reader, Device(7));
  a.join();
  b.join();
  buttons.SetButtonState(0);
  stop = true;
  ticks.join();
  int ctrl = 0, minus = 0;
  for (const std::string& e : input.Take()) {
    ctrl += e == "down 17/29" ? 1 : e == "up 17/29" ? -1 : 0;
    minus += e == "down 189/12" ? 1 : e == "up 189/12" ? -1 : 0;
  }
  EXPECT_EQ(ctrl, 0);
  EXPECT_EQ(minus, 0);
  EXPECT_FALSE(buttons.Held());
}

}  // namespace
}  // namespace pen::test

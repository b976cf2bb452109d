#include "mac/linux/XdgConfigFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace penmac::linux_layer {
namespace {

namespace fs = std::filesystem;

class Folder : public ::testing::Test {
 protected:
  Folder() {
    char name[] = "/tmp/penmac-folder-XXXXXX";
    root = mkdtemp(name);
  }
  ~Folder() override { fs::remove_all(root); }
  std::string root;
};

TEST_F(Folder, TheDefaultIsPenmacUnderTheXdgConfigFolderOrUnderDotConfig) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = xdg ? xdg : "";
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  setenv("XDG_CONFIG_HOME", "/srv/conf", 1);
  EXPECT_EQ(XdgConfigFolder::DefaultFolder(), "/srv/conf/penmac");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", "/home/ann", 1);
  EXPECT_EQ(XdgConfigFolder::DefaultFolder(), "/home/ann/.config/penmac");
  if (xdg) {
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
  if (home) setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(Folder, WritingCreatesTheFolderAndReadingGivesTheBytesBack) {
  XdgConfigFolder folder(root + "/a/b/penmac");
  ASSERT_TRUE(folder.Write("T.scrn", "{}\n").ok());
  std::string text;
  ASSERT_TRUE(folder.Read("T.scrn", text).ok());
  EXPECT_EQ(text, "{}\n");
  EXPECT_EQ(fs::status(root + "/a/b/penmac").permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(Folder, AMissingFileIsNotFound) {
  XdgConfigFolder folder(root);
  std::string text;
  EXPECT_EQ(folder.Read("none.keys", text).status, FileResult::Status::NotFound);
  EXPECT_EQ(folder.MoveAside("none.keys", "none.keys.bad").status, FileResult::Status::NotFound);
}

TEST_F(Folder, AFolderInPlaceOfTheFileFailsToRead) {
  fs::create_directory(root + "/T.keys");
  XdgConfigFolder folder(root);
  std::string text;
  const FileResult r = folder.Read("T.keys", text);
  EXPECT_EQ(r.status, FileResult::Status::Failed);
  EXPECT_NE(r.error.find("T.keys"), std::string::npos);
}

TEST_F(Folder, AFailedWriteLeavesTheOldFileWhole) {
  // A name so long that the temporary file beside it cannot be made.
  const std::string name(250, 'k');
  std::ofstream(root + "/" + name) << "old";
  XdgConfigFolder folder(root);
  const FileResult r = folder.Write(name, "new");
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("Cannot write"), std::string::npos);
  std::string text;
  ASSERT_TRUE(folder.Read(name, text).ok());
  EXPECT_EQ(text, "old");
}

TEST_F(Folder, AWriteReplacesTheFileAndLeavesNoTemporaryBehind) {
  XdgConfigFolder folder(root);
  ASSERT_TRUE(folder.Write("T.keys", "one").ok());
  ASSERT_TRUE(folder.Write("T.keys", "two").ok());
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
}

TEST_F(Folder, ADefectiveFileMovesAsideOverAnOlderBackup) {
  XdgConfigFolder folder(root);
  ASSERT_TRUE(folder.Write("T.scrn", "broken 2").ok());
  ASSERT_TRUE(folder.Write("T.scrn.bad", "broken 1").ok());
  ASSERT_TRUE(folder.MoveAside("T.scrn", "T.scrn.bad").ok());
  std::string text;
  EXPECT_EQ(folder.Read("T.scrn", text).status, FileResult::Status::NotFound);
  ASSERT_TRUE(folder.Read("T.scrn.bad", text).ok());
  EXPECT_EQ(text, "broken 2");
}

TEST_F(Folder, AnOversizedFileIsNotReadIntoMemory) {
  {
    std::ofstream big(root + "/T.keys");
    big.seekp(static_cast<std::streamoff>(XdgConfigFolder::kMaxFileSize) + 1);
    big.put('x');
  }
  XdgConfigFolder folder(root);
  std::string text;
  EXPECT_EQ(folder.Read("T.keys", text).status, FileResult::Status::Failed);
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace penmac::linux_layer

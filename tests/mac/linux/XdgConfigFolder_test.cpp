#include "mac/linux/XdgConfigFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
  static std::string Contents(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
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

TEST_F(Folder, ALinkPlantedWhereATemporaryFileCouldGoDoesNotRedirectTheWrite) {
  // Another program of the user's (or anyone, in a shared folder) plants
  // links at the names a writer might pick for its temporary file.
  std::ofstream(root + "/victim") << "precious";
  for (const std::string& name : {"T.keys.tmp" + std::to_string(getpid()), std::string(".T.keys.tmp"), std::string("T.keys.tmp")}) {
    fs::create_symlink(root + "/victim", root + "/" + name);
  }
  XdgConfigFolder folder(root);
  ASSERT_TRUE(folder.Write("T.keys", "new").ok());
  EXPECT_EQ(Contents(root + "/victim"), "precious");
  EXPECT_EQ(Contents(root + "/T.keys"), "new");
  EXPECT_FALSE(fs::is_symlink(root + "/T.keys"));
}

TEST_F(Folder, ASymlinkedFileStaysALinkAndItsTargetGetsTheNewContents) {
  fs::create_directory(root + "/dotfiles");
  std::ofstream(root + "/dotfiles/T.keys") << "old";
  fs::create_directory(root + "/penmac");
  fs::create_symlink("../dotfiles/T.keys", root + "/penmac/T.keys");  // relative, as dotfile managers make them
  XdgConfigFolder folder(root + "/penmac");
  std::string text;
  ASSERT_TRUE(folder.Read("T.keys", text).ok());
  EXPECT_EQ(text, "old");
  ASSERT_TRUE(folder.Write("T.keys", "new").ok());
  EXPECT_TRUE(fs::is_symlink(root + "/penmac/T.keys"));
  EXPECT_EQ(fs::read_symlink(root + "/penmac/T.keys"), "../dotfiles/T.keys");
  EXPECT_EQ(Contents(root + "/dotfiles/T.keys"), "new");
  ASSERT_TRUE(folder.Read("T.keys", text).ok());
  EXPECT_EQ(text, "new");
  // No temporary file left beside the target or the link.
  EXPECT_EQ(std::distance(fs::directory_iterator(root + "/dotfiles"), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(root + "/penmac"), fs::directory_iterator()), 1);
}

TEST_F(Folder, AnExistingFileKeepsItsPermissionsAndANewOneIsPrivate) {
  XdgConfigFolder folder(root);
  ASSERT_TRUE(folder.Write("new.keys", "x").ok());
  EXPECT_EQ(fs::status(root + "/new.keys").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  std::ofstream(root + "/T.keys") << "old";
  fs::permissions(root + "/T.keys", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(folder.Write("T.keys", "new").ok());
  EXPECT_EQ(fs::status(root + "/T.keys").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// In a child, so that a read that blocks ends the child (by its alarm)
// instead of the test run; the child's exit status is the read's status.
int ReadStatusInAChild(const std::string& folderPath, const char* name) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(60);
    XdgConfigFolder folder(folderPath);
    std::string text;
    _exit(static_cast<int>(folder.Read(name, text).status));
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Folder, AFifoInPlaceOfTheFileFailsToReadWithoutWaitingForAWriter) {
  ASSERT_EQ(mkfifo((root + "/T.scrn").c_str(), 0600), 0);
  EXPECT_EQ(ReadStatusInAChild(root, "T.scrn"), static_cast<int>(FileResult::Status::Failed));
  // Also behind a link.
  fs::create_symlink(root + "/T.scrn", root + "/U.scrn");
  EXPECT_EQ(ReadStatusInAChild(root, "U.scrn"), static_cast<int>(FileResult::Status::Failed));
  if (HasFailure()) return;  // the read below would block
  XdgConfigFolder folder(root);
  std::string text;
  const FileResult r = folder.Read("T.scrn", text);
  EXPECT_NE(r.error.find("not a regular file"), std::string::npos) << r.error;
}

}  // namespace
}  // namespace penmac::linux_layer

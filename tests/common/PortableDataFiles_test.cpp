#include "common/PortableDataFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace pen {
namespace {

namespace fs = std::filesystem;

class DataFiles : public ::testing::Test {
 protected:
  DataFiles() {
    std::random_device random;
    root = fs::temp_directory_path() / ("pen-data-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(root);
    name = (root / "R711Def.bin").string();
  }
  ~DataFiles() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::string Contents() const {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  fs::path root;
  std::string name;
  PortableDataFiles files;
};

TEST_F(DataFiles, AWholeFileIsWrittenAndReadBackWithItsRealSize) {
  const uint8_t bytes[5] = {0, 69, 1, 189, 255};
  ASSERT_TRUE(files.Replace(name, bytes, sizeof bytes));
  EXPECT_EQ(Contents(), std::string("\x00\x45\x01\xbd\xff", 5));
  uint8_t back[4] = {};
  EXPECT_EQ(files.Read(name, back, sizeof back), std::optional<size_t>(5));
  EXPECT_EQ(back[3], 189);
  EXPECT_FALSE(fs::exists(name + ".new"));
}

TEST_F(DataFiles, AFailedWriteLeavesTheOldFileWhole) {
  const uint8_t old[3] = {1, 2, 3}, replacement[64] = {};
  ASSERT_TRUE(files.Replace(name, old, sizeof old));
  fs::create_directory(name + ".new");  // the temporary file cannot be made
  EXPECT_FALSE(files.Replace(name, replacement, sizeof replacement));
  EXPECT_EQ(Contents(), std::string("\x01\x02\x03", 3));
}

TEST_F(DataFiles, MissingFilesAndFoldersAreToldApart) {
  uint8_t back[4];
  EXPECT_FALSE(files.Exists(name));
  EXPECT_EQ(files.Read(name, back, sizeof back), std::nullopt);
  EXPECT_EQ(files.Read(root.string(), back, sizeof back), std::nullopt);  // a folder is no file
  EXPECT_TRUE(files.Remove(name));
  const std::string sub = (root / "user").string();
  EXPECT_TRUE(files.MakeFolder(sub));
  EXPECT_FALSE(files.MakeFolder((root / "none" / "deeper").string()));
}

}  // namespace
}  // namespace pen

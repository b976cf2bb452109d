#include "padlink/PadLinkFile.h"

#include <cstdio>
#include <cstring>

namespace pen {

namespace {

struct File {
  std::FILE* f;
  explicit File(std::FILE* file) : f(file) {}
  ~File() {
    if (f) std::fclose(f);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
};

}  // namespace

int TPadLinkFile::SlotOf(uint32_t address) {
  for (size_t i = 0; i < kAddresses.size(); ++i)
    if (kAddresses[i] == address) return static_cast<int>(i);
  return -1;
}

bool TPadLinkFile::Detect() const {
  // Append mode creates a missing file and never changes an existing one.
  File file(std::fopen(path_.c_str(), "ab"));
  return file.f != nullptr;
}

bool TPadLinkFile::Load(Image& image) const {
  image.fill(0xFF);
  File file(std::fopen(path_.c_str(), "rb"));
  if (!file.f) {
    // Never written: all erased, as long as the file could exist at all.
    return Detect();
  }
  const size_t got = std::fread(image.data(), 1, image.size(), file.f);
  if (std::ferror(file.f)) return false;
  (void)got;  // a short file keeps the erased tail
  return true;
}

bool TPadLinkFile::Store(const Image& image) {
  File file(std::fopen(path_.c_str(), "wb"));
  if (!file.f) return false;
  if (std::fwrite(image.data(), 1, image.size(), file.f) != image.size()) return false;
  return std::fflush(file.f) == 0;
}

bool TPadLinkFile::Read(uint32_t address, uint8_t* buffer, uint32_t length) const {
  const int slot = SlotOf(address);
  if (slot < 0 || buffer == nullptr || length == 0 || length > kCopySize) return false;
  Image image;
  if (!Load(image)) return false;
  std::memcpy(buffer, image.data() + slot * kCopySize, length);
  return true;
}

bool TPadLinkFile::Write(uint32_t address, const uint8_t* buffer, uint32_t length) {
  const int slot = SlotOf(address);
  if (slot < 0 || buffer == nullptr || length == 0 || length > kCopySize) return false;
  Image image;
  if (!Load(image)) return false;
  std::memcpy(image.data() + slot * kCopySize, buffer, length);
  return Store(image);
}

bool TPadLinkFile::Erase(uint32_t firstBlock, uint32_t lastBlock) {
  if (firstBlock > lastBlock) return false;
  Image image;
  if (!Load(image)) return false;
  for (size_t i = 0; i < kAddresses.size(); ++i) {
    const uint32_t block = kAddresses[i] / kAddressesPerBlock;
    if (block >= firstBlock && block <= lastBlock) std::memset(image.data() + i * kCopySize, 0xFF, kCopySize);
  }
  return Store(image);
}

}  // namespace pen

#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace pen {

// Device memory kept in a file: the three 64-byte parameter copies at the
// addresses 8191, 8190 and 8189, one after the other (192 bytes). Memory that
// was never written, and any part of the file that is missing, reads as
// erased (0xFF). Erasing works on blocks of 256 addresses, so blocks 0..31
// cover all three copies.
class TPadLinkFile {
 public:
  static constexpr uint32_t kCopySize = 64;
  static constexpr std::array<uint32_t, 3> kAddresses = {8191, 8190, 8189};
  static constexpr uint32_t kAddressesPerBlock = 256;

  explicit TPadLinkFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // True when the file can be opened (it is created empty when missing).
  bool Detect() const;
  bool Read(uint32_t address, uint8_t* buffer, uint32_t length) const;
  bool Write(uint32_t address, const uint8_t* buffer, uint32_t length);
  bool Erase(uint32_t firstBlock, uint32_t lastBlock);

 private:
  using Image = std::array<uint8_t, kCopySize * 3>;
  static int SlotOf(uint32_t address);
  bool Load(Image& image) const;
  bool Store(const Image& image);

  std::string path_;
};

}  // namespace pen

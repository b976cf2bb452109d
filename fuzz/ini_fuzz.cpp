// Arbitrary bytes as a settings file: every key is read and written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/IniText.h"
#include "common/IniValue.h"

namespace {

struct Key {
  std::string_view section, key;
};

constexpr Key kKeys[] = {
    {"MainItem", "InkMode"},       {"MainItem", "LeftHandMode"},   {"MainItem", "Smoothness"},
    {"Mapping", "ScreenMapLeft"},  {"Mapping", "ScreenMapTop"},    {"Mapping", "ScreenMapRight"},
    {"Mapping", "ScreenMapBottom"}, {"Mapping", "TabletMapLeft"},  {"Mapping", "TabletMapTop"},
    {"Mapping", "TabletMapRight"}, {"Mapping", "TabletMapBottom"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string written(text);
  for (const Key& k : kKeys) {
    if (const auto value = pen::FindIniValue(text, k.section, k.key)) (void)pen::ParseIniInteger(*value);
    written = pen::SetIniValue(written, k.section, k.key, "-123");
  }
  // Whatever the file held, every key now reads as written, and the user's
  // comment lines are all still there.
  for (const Key& k : kKeys) {
    const auto value = pen::FindIniValue(written, k.section, k.key);
    if (!value || pen::ParseIniInteger(*value) != -123) std::abort();
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    const size_t first = line.find_first_not_of(" \t");
    const bool comment = first != std::string_view::npos && line[first] == ';';
    if (comment && written.find(line) == std::string::npos) std::abort();
    start = end + 1;
  }
  return 0;
}

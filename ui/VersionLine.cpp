#include "ui/VersionLine.h"

#include <charconv>

namespace pen {

static_assert(self_key::kTable.size() == 88);

namespace {

struct DisplayRow {
  std::string_view model;
  std::string_view subCode;  // empty: any
  std::string_view withoutSite, withSite;
};

constexpr DisplayRow kDisplayNames[] = {
    {"R766", "", "K40", "K40"},
    {"R711", "", "5080Max", "QS5080"},
    {"R755", "", "QS300", "QS300"},
    {"K60", "", "R888", "QS600"},
    {"R788", "R799", "K60", "K60"},
    {"R788", "R711", "R711", "K90 lite"},
    {"R790", "R788", "R788", "K90"},
};

}  // namespace

std::string ProductSubCode(const std::string& product) {
  const size_t bracket = product.find(']');
  const size_t blank = product.find(' ');
  if (bracket == std::string::npos || (blank != std::string::npos && blank < bracket)) return {};
  const size_t end = product.find(' ', bracket + 1);
  return product.substr(bracket + 1, end == std::string::npos ? std::string::npos : end - bracket - 1);
}

std::string DisplayName(const std::string& modelCode, const std::string& productString, bool siteFile) {
  const std::string sub = ProductSubCode(productString);
  for (const DisplayRow& row : kDisplayNames) {
    if (row.model != modelCode || (!row.subCode.empty() && row.subCode != sub)) continue;
    return std::string(siteFile ? row.withSite : row.withoutSite);
  }
  return modelCode;
}

std::string VersionLine(const std::string& serviceVersion, bool tabletFound, const std::string& firmwareVersion,
                        const std::string& displayName) {
  std::string line = serviceVersion;
  if (!tabletFound) return line;
  if (firmwareVersion != "0") line += "   HVer: " + firmwareVersion;
  if (!displayName.empty()) line += "   ( " + displayName + " )";
  return line;
}

bool KeyDefineInInk(std::string_view text) {
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) value = 0;
  return value >= 1803;
}

uint8_t self_key::UsageOf(char16_t c) {
  if (c == 0 || c > 0x7F) return 0;
  const size_t at = kTable.find(static_cast<char>(c));
  return at == std::string_view::npos ? 0 : static_cast<uint8_t>(at);
}

}  // namespace pen

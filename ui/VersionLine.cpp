#include "ui/VersionLine.h"

#include <charconv>

#include "common/ModelCatalogue.h"

namespace pen {

static_assert(self_key::kTable.size() == 88);

std::string ProductSubCode(const std::string& product) {
  const size_t bracket = product.find(']');
  const size_t blank = product.find(' ');
  if (bracket == std::string::npos || (blank != std::string::npos && blank < bracket)) return {};
  const size_t end = product.find(' ', bracket + 1);
  return product.substr(bracket + 1, end == std::string::npos ? std::string::npos : end - bracket - 1);
}

std::string DisplayName(const std::string& modelCode, const std::string& productString, bool siteFile) {
  const ModelRow* model = FindModel(modelCode);
  if (!model) return modelCode;
  const std::string sub = ProductSubCode(productString);
  for (const ModelName& name : model->names) {
    if (!name.subCode.empty() && name.subCode != sub) continue;
    return std::string(siteFile ? name.withSite : name.withoutSite);
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

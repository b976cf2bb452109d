#include "common/IniValue.h"

namespace pen {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// The private-profile integer reading takes the leading digits of a value
// ("12abc" gives 12) and reads a value without leading digits as 0 rather
// than as the default. We take the whole value or nothing: a damaged value
// then falls back to the key's default instead of turning into another,
// plausible setting, and every back end reads a file the same way.
// Hexadecimal is accepted because the private-profile reading accepts it and
// hand-edited files may rely on it.
std::optional<int32_t> ParseIniInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;

  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    if (text.size() > 8) return std::nullopt;
    uint32_t magnitude = 0;
    for (char c : text) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      magnitude = magnitude * 16u + static_cast<uint32_t>(digit);
    }
    // All 32 bits are the value's own, as a stored flag word would be.
    const uint32_t bits = negative ? 0u - magnitude : magnitude;
    return static_cast<int32_t>(bits);
  }

  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;  // the magnitude of INT32_MIN
  int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace pen

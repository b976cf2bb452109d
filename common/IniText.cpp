#include "common/IniText.h"

#include <cstddef>

namespace pen {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// One line of the file: [begin, end) without its terminator, next = start of
// the following line (text.size() at the end).
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};

Line LineAt(std::string_view text, size_t pos) {
  const size_t nl = text.find('\n', pos);
  if (nl == std::string_view::npos) return {pos, text.size(), text.size()};
  return {pos, nl, nl + 1};
}

enum class Kind { Blank, Comment, Section, Entry };

struct Parsed {
  Kind kind = Kind::Blank;
  std::string_view name;   // section or key name
  std::string_view value;  // entries only
};

Parsed Parse(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty()) return {};
  if (t.front() == ';') return {Kind::Comment, {}, {}};
  if (t.front() == '[') {
    std::string_view name = t.substr(1);
    const size_t close = name.find(']');
    if (close != std::string_view::npos) name = name.substr(0, close);
    return {Kind::Section, Trim(name), {}};
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {Kind::Entry, t, {}};
  std::string_view value = Trim(t.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return {Kind::Entry, Trim(t.substr(0, eq)), value};
}

size_t BodyStart(std::string_view text) {
  return text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
}

// Where a key was found, or where its section's entries end.
struct Place {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;        // when keyFound
  Line lastLine;       // last entry of the section, or its header
  std::string_view value;
};

Place Locate(std::string_view text, std::string_view section, std::string_view key) {
  Place place;
  bool inSection = false;
  for (size_t pos = BodyStart(text); pos < text.size();) {
    const Line line = LineAt(text, pos);
    pos = line.next;
    const Parsed p = Parse(text.substr(line.begin, line.end - line.begin));
    if (p.kind == Kind::Section) {
      if (place.sectionFound) break;  // later sections of the same name do not count
      inSection = SameName(p.name, section);
      if (inSection) {
        place.sectionFound = true;
        place.lastLine = line;
      }
      continue;
    }
    if (!inSection || p.kind != Kind::Entry) continue;
    place.lastLine = line;
    if (SameName(p.name, key)) {
      place.keyFound = true;
      place.keyLine = line;
      place.value = p.value;
      break;
    }
  }
  return place;
}

std::string_view LineEnding(std::string_view text) {
  const size_t nl = text.find('\n');
  if (nl == std::string_view::npos) return "\r\n";
  return (nl > 0 && text[nl - 1] == '\r') ? "\r\n" : "\n";
}

}  // namespace

std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key) {
  const Place place = Locate(text, section, key);
  if (!place.keyFound) return std::nullopt;
  return place.value;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  const Place place = Locate(text, section, key);
  const std::string_view eol = LineEnding(text);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (place.keyFound) {
    // Keep the key's own spelling and indentation; only the value changes.
    const std::string_view line = text.substr(place.keyLine.begin, place.keyLine.end - place.keyLine.begin);
    size_t keyEnd = line.find('=');
    if (keyEnd == std::string_view::npos) keyEnd = line.size();
    std::string_view keyPart = line.substr(0, keyEnd);
    while (!keyPart.empty() && IsBlank(keyPart.back())) keyPart.remove_suffix(1);
    const bool cr = !line.empty() && line.back() == '\r';
    out.append(text.substr(0, place.keyLine.begin));
    out.append(keyPart).append("=").append(value);
    if (cr) out.push_back('\r');
    out.append(text.substr(place.keyLine.end));
    return out;
  }

  if (place.sectionFound) {
    const Line& after = place.lastLine;
    out.append(text.substr(0, after.next));
    if (after.next == after.end) out.append(eol);  // the section's last line had no terminator
    out.append(key).append("=").append(value).append(eol);
    out.append(text.substr(after.next));
    return out;
  }

  out.append(text);
  if (!text.empty() && text.back() != '\n') out.append(eol);
  out.append("[").append(section).append("]").append(eol);
  out.append(key).append("=").append(value).append(eol);
  return out;
}

}  // namespace pen

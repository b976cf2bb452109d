#include "pipeline/TabletRecording.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace pen {

namespace {

// Error texts built by appending: g++ 12 at -O3 reports a false -Wrestrict
// overlap for "literal" + std::string.
std::string Text(std::string_view before, std::string_view word, std::string_view after) {
  std::string t;
  t.reserve(before.size() + word.size() + after.size());
  t.append(before).append(word).append(after);
  return t;
}


// An hour between two steps is already far beyond any real session; larger
// values are typing mistakes, and capping them keeps the sum from wrapping.
constexpr uint32_t kMaxDelayMs = 3600000;
// A USB string descriptor holds at most 126 UTF-16 units.
constexpr size_t kMaxProduct = 126;

struct Cursor {
  std::string_view rest;

  void SkipBlanks() {
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  }
  bool AtEnd() {
    SkipBlanks();
    return rest.empty();
  }
  std::string_view Word() {
    SkipBlanks();
    size_t n = 0;
    while (n < rest.size() && rest[n] != ' ' && rest[n] != '\t') ++n;
    std::string_view w = rest.substr(0, n);
    rest.remove_prefix(n);
    return w;
  }
};

// Removes a trailing comment; '#' inside a quoted product string is text.
std::string_view StripComment(std::string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted && c == '\\') {
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == '#' && !quoted) {
      return line.substr(0, i);
    }
  }
  return line;
}

bool ParseUnsigned(std::string_view word, uint64_t limit, uint64_t& value) {
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    word.remove_prefix(2);
  }
  if (word.empty()) return false;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, value, base);
  return ec == std::errc() && p == end && value <= limit;
}

// What the builders store must read back: longer pauses shrink to the cap.
uint32_t ClampDelay(uint32_t ms) { return ms < kMaxDelayMs ? ms : kMaxDelayMs; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseQuoted(Cursor& cur, std::string& out, std::string& why) {
  cur.SkipBlanks();
  if (cur.rest.empty() || cur.rest.front() != '"') {
    why = "expected a quoted product string";
    return false;
  }
  out.clear();
  size_t i = 1;
  for (; i < cur.rest.size(); ++i) {
    char c = cur.rest[i];
    if (c == '"') break;
    if (c == '\\') {
      if (++i == cur.rest.size()) break;
      c = cur.rest[i];
      if (c != '"' && c != '\\') {
        why = "unknown escape in product string (only \\\" and \\\\)";
        return false;
      }
    }
    if (static_cast<unsigned char>(c) < 0x20) {
      why = "control character in product string";
      return false;
    }
    out.push_back(c);
  }
  if (i >= cur.rest.size()) {
    why = "product string has no closing quote";
    return false;
  }
  if (out.size() > kMaxProduct) {
    why = "product string longer than 126 characters";
    return false;
  }
  cur.rest.remove_prefix(i + 1);
  return true;
}

bool ParseDevice(Cursor& cur, TabletIdentity& id, std::string& why) {
  bool any = false;
  while (!cur.AtEnd()) {
    std::string_view key = cur.Word();
    if (key == "version") {
      uint64_t v = 0;
      if (!ParseUnsigned(cur.Word(), 0xFFFF, v)) {
        why = "version must be a number 0..0xFFFF";
        return false;
      }
      id.version = static_cast<uint16_t>(v);
    } else if (key == "product") {
      if (!ParseQuoted(cur, id.product, why)) return false;
    } else {
      why = Text("unknown device field '", key, "' (version, product)");
      return false;
    }
    any = true;
  }
  if (!any) why = "device line names neither version nor product";
  return any;
}

bool ParseBytes(Cursor& cur, SessionStep& step, std::string& why) {
  size_t n = 0;
  while (!cur.AtEnd()) {
    std::string_view w = cur.Word();
    if (w.size() % 2 != 0) {
      why = Text("hex byte '", w, "' needs two digits per byte");
      return false;
    }
    for (size_t i = 0; i < w.size(); i += 2) {
      int hi = HexDigit(w[i]);
      int lo = HexDigit(w[i + 1]);
      if (hi < 0 || lo < 0) {
        why = Text("'", w, "' is not hex");
        return false;
      }
      if (n == SessionStep::kMaxReport) {
        why = "report longer than 64 bytes";
        return false;
      }
      step.bytes[n++] = static_cast<uint8_t>(hi * 16 + lo);
    }
  }
  if (n == 0) {
    why = "report has no bytes";
    return false;
  }
  step.size = static_cast<uint8_t>(n);
  return true;
}

// One session line: [+DELAY] (A|B bytes... | plug | unplug | wait), or
// "wait DELAY".
bool ParseStep(Cursor& cur, std::string_view first, SessionStep& step, std::string& why) {
  step = SessionStep{};
  std::string_view word = first;
  if (!word.empty() && word.front() == '+') {
    uint64_t d = 0;
    if (!ParseUnsigned(word.substr(1), kMaxDelayMs, d)) {
      why = Text("delay '", word, "' must be +0..+3600000 milliseconds");
      return false;
    }
    step.delayMs = static_cast<uint32_t>(d);
    word = cur.Word();
    if (word.empty()) {
      why = "delay without an event (A, B, plug, unplug, wait)";
      return false;
    }
  }
  if (word == "A" || word == "B") {
    step.kind = SessionStep::Kind::Report;
    step.iface = word == "A" ? TabletInterface::A : TabletInterface::B;
    return ParseBytes(cur, step, why);
  }
  if (word == "plug" || word == "unplug") {
    step.kind = word == "plug" ? SessionStep::Kind::Plug : SessionStep::Kind::Unplug;
  } else if (word == "wait") {
    step.kind = SessionStep::Kind::Wait;
    if (first == word && !cur.AtEnd()) {
      uint64_t d = 0;
      if (!ParseUnsigned(cur.Word(), kMaxDelayMs, d)) {
        why = "wait takes 0..3600000 milliseconds";
        return false;
      }
      step.delayMs = static_cast<uint32_t>(d);
    }
  } else {
    why = Text("unknown event '", word, "' (A, B, plug, unplug, wait, device, start)");
    return false;
  }
  if (!cur.AtEnd()) {
    why = Text("unexpected text after '", word, "'");
    return false;
  }
  return true;
}

}  // namespace

bool TTabletRecording::Parse(std::string_view text, std::string& error) {
  TTabletRecording result;
  size_t lineNo = 0;
  while (!text.empty()) {
    ++lineNo;
    size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    Cursor cur{StripComment(line)};
    std::string_view first = cur.Word();
    if (first.empty()) continue;
    std::string why;
    bool ok = true;
    if (first == "device") {
      ok = ParseDevice(cur, result.identity, why);
    } else if (first == "start") {
      std::string_view what = cur.Word();
      if ((what == "unplugged" || what == "plugged") && cur.AtEnd()) {
        result.startUnplugged = what == "unplugged";
      } else {
        ok = false;
        why = "start takes 'plugged' or 'unplugged'";
      }
    } else {
      SessionStep step;
      ok = ParseStep(cur, first, step, why);
      if (ok) result.steps.push_back(step);
    }
    if (!ok) {
      error = "line " + std::to_string(lineNo) + ": " + why;
      return false;
    }
  }
  *this = std::move(result);
  error.clear();
  return true;
}

bool TTabletRecording::LoadFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::ostringstream all;
  all << in.rdbuf();
  return Parse(all.str(), error);
}

std::string TTabletRecording::Format() const {
  std::string out = "device version 0x";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04X", identity.version);
  out += buf;
  out += " product \"";
  for (char c : identity.product) {
    if (c == '"' || c == '\\') out.push_back('\\');
    // Control characters (a line break above all) could not be read back.
    out.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
  }
  out += "\"\n";
  if (startUnplugged) out += "start unplugged\n";
  for (const SessionStep& s : steps) {
    out += '+';
    out += std::to_string(s.delayMs);
    switch (s.kind) {
      case SessionStep::Kind::Report:
        out += s.iface == TabletInterface::A ? " A" : " B";
        for (size_t i = 0; i < s.size; ++i) {
          std::snprintf(buf, sizeof buf, " %02X", s.bytes[i]);
          out += buf;
        }
        break;
      case SessionStep::Kind::Plug: out += " plug"; break;
      case SessionStep::Kind::Unplug: out += " unplug"; break;
      case SessionStep::Kind::Wait: out += " wait"; break;
    }
    out += '\n';
  }
  return out;
}

bool TTabletRecording::SaveFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << Format();
  return static_cast<bool>(out.flush());
}

void TTabletRecording::AddReport(uint32_t delayMs, TabletInterface iface, const uint8_t* data, size_t size) {
  // An empty report cannot be written down; the reader would refuse the line.
  if (size == 0) return;
  SessionStep s;
  s.delayMs = ClampDelay(delayMs);
  s.kind = SessionStep::Kind::Report;
  s.iface = iface;
  s.size = static_cast<uint8_t>(size < SessionStep::kMaxReport ? size : SessionStep::kMaxReport);
  for (size_t i = 0; i < s.size; ++i) s.bytes[i] = data[i];
  steps.push_back(s);
}

void TTabletRecording::AddPlug(uint32_t delayMs) {
  SessionStep s;
  s.delayMs = ClampDelay(delayMs);
  s.kind = SessionStep::Kind::Plug;
  steps.push_back(s);
}

void TTabletRecording::AddUnplug(uint32_t delayMs) {
  SessionStep s;
  s.delayMs = ClampDelay(delayMs);
  s.kind = SessionStep::Kind::Unplug;
  steps.push_back(s);
}

void TTabletRecording::AddWait(uint32_t delayMs) {
  SessionStep s;
  s.delayMs = ClampDelay(delayMs);
  steps.push_back(s);
}

uint64_t TTabletRecording::DurationMs() const {
  uint64_t sum = 0;
  for (const SessionStep& s : steps) sum += s.delayMs;
  return sum;
}

}  // namespace pen

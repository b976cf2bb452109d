#pragma once
// Reading what the end-to-end programs print: "key=value" fields of their
// output lines, and the digitizer reports that the service's trace says it
// published.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "PenHostRun.h"

namespace e2e {

// "key=value" fields of one output line.
inline std::map<std::string, std::string> Fields(const std::string& line) {
  std::map<std::string, std::string> out;
  std::istringstream in(line);
  for (std::string word; in >> word;) {
    const size_t eq = word.find('=');
    if (eq != std::string::npos) out[word.substr(0, eq)] = word.substr(eq + 1);
  }
  return out;
}

// A field as a number; -1 when the line has none.
inline long Num(const std::map<std::string, std::string>& f, const std::string& key, int base = 10) {
  auto it = f.find(key);
  return it == f.end() ? -1 : std::strtol(it->second.c_str(), nullptr, base);
}

inline std::vector<std::map<std::string, std::string>> LinesStarting(const std::string& text,
                                                                     const std::string& start) {
  std::vector<std::map<std::string, std::string>> out;
  for (const std::string& l : Lines(text)) {
    if (l.rfind(start, 0) == 0) out.push_back(Fields(l));
  }
  return out;
}

// A report as the service published it, before the channel's area scaling.
struct Published {
  long status, x, y, pressure;
};

inline std::vector<Published> PublishedB(const std::string& trace) {
  std::vector<Published> out;
  for (const std::string& l : Lines(trace)) {
    const size_t at = l.find("report B #");
    if (at == std::string::npos) continue;
    Published p{};
    if (std::sscanf(l.c_str() + at, "report B #%*u: status %lx x %ld y %ld pressure %ld", &p.status, &p.x, &p.y,
                    &p.pressure) == 4) {
      out.push_back(p);
    }
  }
  return out;
}

}  // namespace e2e

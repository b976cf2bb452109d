#pragma once
#include <string>

namespace pen {

// The numbered user-interface texts (UTF-8); the table and its files are
// the settings windows' (ui/Language.h).
class ILanguageTexts {
 public:
  virtual ~ILanguageTexts() = default;
  virtual std::string Text(int id) const = 0;
};

}  // namespace pen

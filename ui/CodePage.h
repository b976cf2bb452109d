#pragma once
#include <string>
#include <string_view>

namespace pen {

// The system's ANSI code page, in which a text file without a byte-order
// mark is written.
class IAnsiCodePage {
 public:
  virtual ~IAnsiCodePage() = default;
  virtual std::u16string Decode(std::string_view bytes) const = 0;
};

// Western European (Windows code page 1252), the system code page of the
// English, French, Spanish and German systems; used where the platform has
// no conversion of its own.
class TCodePage1252 final : public IAnsiCodePage {
 public:
  std::u16string Decode(std::string_view bytes) const override;
};

}  // namespace pen

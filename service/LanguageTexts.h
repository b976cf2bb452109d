#pragma once
#include <string>

namespace pen {

// The numbered user-interface texts (UTF-8).
class ILanguageTexts {
 public:
  virtual ~ILanguageTexts() = default;
  virtual std::string Text(int id) const = 0;
};

// The built-in (Simplified Chinese) texts the host itself uses; any other
// number reads as empty until the language files can be loaded.
class TBuiltInTexts final : public ILanguageTexts {
 public:
  std::string Text(int id) const override {
    // The source is UTF-8 and so is the execution character set.
    switch (id) {
      case 2: return "数位板服务";
      case 8: return "设置";
      case 9: return "关闭服务";
      case 20: return "注意";
      case 21: return "退出该程序可能造成压感笔某些功能无法正常工作，是否继续退出？";
      default: return {};
    }
  }
};

}  // namespace pen

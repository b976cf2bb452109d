// Arbitrary bytes as the language files: the setup file, the language file
// in each encoding and the name list are decoded and loaded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "common/IniText.h"
#include "common/IniValue.h"
#include "ui/Language.h"
#include "ui/TextFile.h"

namespace {

using Files = std::map<std::string, std::string>;

// The program folder in memory, so that each input costs no disk access.
class MemoryIni : public pen::IIniFile {
 public:
  MemoryIni(Files& files, std::string name) : files_(files), name_(std::move(name)) {}
  const std::string& FileName() const override { return name_; }
  bool Exists() const override { return files_.count(name_) != 0; }
  bool WriteWholeFile(std::string_view text) override {
    files_[name_] = std::string(text);
    return true;
  }
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const override {
    const std::string text = Text();  // the view below points into it
    const auto v = pen::FindIniValue(text, section, key);
    return v ? pen::ParseIniInteger(*v).value_or(fallback) : fallback;
  }
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const override {
    const std::string text = Text();
    const auto v = pen::FindIniValue(text, section, key);
    return std::string(v ? *v : fallback);
  }
  bool WriteInteger(std::string_view section, std::string_view key, int32_t value) override {
    files_[name_] = pen::SetIniValue(Text(), section, key, std::to_string(value));
    return true;
  }

 private:
  std::string Text() const {
    const auto it = files_.find(name_);
    return it == files_.end() ? std::string() : it->second;
  }
  Files& files_;
  std::string name_;
};

class MemoryFolder : public pen::IIniFileSystem, public pen::IFileReader {
 public:
  Files files;
  std::unique_ptr<pen::IIniFile> Open(const std::string& name) override {
    return std::make_unique<MemoryIni>(files, name);
  }
  bool MakeFolder(const std::string&) override { return true; }
  bool Exists(const std::string& name) override { return files.count(name) != 0; }
  bool ReadAll(const std::string& name, size_t maxBytes, std::string& bytes) override {
    const auto it = files.find(name);
    if (it == files.end() || it->second.size() > maxBytes) return false;
    bytes = it->second;
    return true;
  }
};

constexpr const char* kMarks[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string mark = kMarks[data[0] & 3];
  const uint16_t uiLanguage = static_cast<uint16_t>(data[1] | (data[2] << 8));
  // The rest: the setup file, then the language file, split at the first NUL.
  std::string_view rest = in.substr(3);
  const size_t split = rest.find('\0');
  const std::string_view setup = rest.substr(0, split);
  const std::string_view language = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

  pen::TCodePage1252 ansi;
  const std::u16string text = pen::DecodeTextFile(mark + std::string(language), ansi);
  for (const std::u16string& line : pen::SplitLines(text)) {
    if (line.size() > text.size()) std::abort();
    (void)pen::Utf8FromUtf16(line);
  }

  MemoryFolder folder;
  folder.files["P\\LanSetup.ini"] = std::string(setup);
  folder.files["P\\TabletLan.txt"] = mark + std::string(language);
  folder.files["P\\LanName.txt"] = mark + std::string(language);
  pen::TLanguage lang(folder, folder, ansi, "P\\");
  lang.LoadLanguageTexts(uiLanguage);
  size_t total = 0;
  for (int k = 0; k < pen::lan::kSlotCount; ++k) total += lang.Slot(k).size();
  // Every text comes from the file or the built-in set.
  if (total > 2 * text.size() + 4096) std::abort();
  if (lang.Slot(pen::lan::kKeyDefine).empty()) std::abort();
  lang.SaveLanguageChoice(data[0] & 4);
  lang.LoadLanguageTexts(uiLanguage);
  (void)lang.LanguageNames();
  return 0;
}

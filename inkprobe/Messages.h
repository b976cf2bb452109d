#pragma once
#include <cstdint>

namespace pen {

// System language id that selects the Chinese texts; any other selects English.
inline constexpr uint16_t kChineseLangId = 2052;

enum class TFinderMessage { InUse, TerminateFailed, StartupNotice };

// A message box's texts. The shown text is first + holder path + second (the
// start-up notice has no path). Chinese texts are ANSI text in code page 936,
// which is what the message box functions of a Chinese system expect.
struct TMessageText {
  const char* caption;
  const char* first;
  const char* second;
};

const TMessageText& FinderMessageText(TFinderMessage message, uint16_t langId);

}  // namespace pen

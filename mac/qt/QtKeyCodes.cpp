#include "mac/qt/QtKeyCodes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <utility>

#include "mac/KeyTables.h"

namespace penmac::qt {

namespace {

// Qt's name of each of the 28 named keys, and more than one where a
// keyboard has two keys for one purpose (Return and keypad Enter, Tab and
// Shift+Tab, Insert and Help, which stand in the same place).
constexpr std::array<std::pair<int, uint16_t>, 31> kNamed{{
    {Qt::Key_F1, 122},       {Qt::Key_F2, 120},       {Qt::Key_F3, 99},      {Qt::Key_F4, 118},
    {Qt::Key_F5, 96},        {Qt::Key_F6, 97},        {Qt::Key_F7, 98},      {Qt::Key_F8, 100},
    {Qt::Key_F9, 101},       {Qt::Key_F10, 109},      {Qt::Key_F12, 111},    {Qt::Key_F13, 105},
    {Qt::Key_Space, 49},     {Qt::Key_Escape, 53},    {Qt::Key_Return, 36},  {Qt::Key_Enter, 36},
    {Qt::Key_Tab, 48},       {Qt::Key_Backtab, 48},   {Qt::Key_Backspace, 51}, {Qt::Key_Clear, 71},
    {Qt::Key_Insert, 114},   {Qt::Key_Help, 114},     {Qt::Key_Delete, 117}, {Qt::Key_Home, 115},
    {Qt::Key_End, 119},      {Qt::Key_PageUp, 116},   {Qt::Key_PageDown, 121}, {Qt::Key_Up, 126},
    {Qt::Key_Left, 123},     {Qt::Key_Right, 124},    {Qt::Key_Down, 125},
}};

bool OnMacOS() { return QGuiApplication::platformName() == QLatin1String("cocoa"); }

}  // namespace

std::optional<uint16_t> NamedKeyCodeForQtKey(int qtKey) {
  for (const auto& [key, code] : kNamed) {
    if (key == qtKey) return code;
  }
  return std::nullopt;
}

KeyPress ToKeyPress(const QKeyEvent& event) {
  KeyPress press;
  // Control characters (what Ctrl with a letter types here) are no text to
  // show or to type again later: the key string keeps printable ones only.
  QString text = event.text();
  text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
  press.characters = text.toStdString();
  if (const auto named = NamedKeyCodeForQtKey(event.key())) {
    press.keyCode = *named;
    return press;
  }
  // On macOS the event carries the very code the tables are written in (a
  // keypad key's own code, for one); made-up events carry none.
  if (OnMacOS() && event.nativeVirtualKey() > 0 && event.nativeVirtualKey() <= 0x7F) {
    press.keyCode = static_cast<uint16_t>(event.nativeVirtualKey());
    return press;
  }
  if (press.characters.size() == 1) {
    const char c = press.characters[0];
    if (const auto code = UnshiftedKeyCode(c)) {
      press.keyCode = *code;
    } else if (const auto shifted = ShiftedKeyCode(c)) {
      press.keyCode = *shifted;
    }
  }
  return press;
}

}  // namespace penmac::qt

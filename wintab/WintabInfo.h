#pragma once
#include <cstdint>

#include "wintab/WintabSession.h"
#include "wintab/Wintab.h"

namespace pen::wintab {

// The virtual desktop in pixels.
struct Desktop {
  int32_t left = 0, top = 0, width = 1, height = 1;
};

// What WTInfo answers: the interface, the status of this process's
// contexts, the default contexts, one device (the tablet as the channel
// reports it) and its cursors. The pen is cursor 1, so that programs that
// read the cursor number modulo 3 (0 puck, 1 pen, 2 eraser) see a pen;
// cursor 0 is a placeholder that never reports.
class TWintabInfo {
 public:
  static constexpr uint16_t kSpecVersion = 0x0104;
  static constexpr uint16_t kImplVersion = 0x0100;
  static constexpr const char* kId = "Pen Tablet Wintab over the penhost channel";
  static constexpr uint32_t kCursors = 2;
  static constexpr uint32_t kPenCursor = 1;
  static constexpr uint32_t kPacketRate = 200;
  // The items the device fills in; Z, tangent pressure and rotation are
  // carried as 0 when a context asks for them.
  static constexpr WTPKT kDeviceData = PK_CONTEXT | PK_STATUS | PK_TIME | PK_CHANGED | PK_SERIAL_NUMBER | PK_CURSOR |
                                       PK_BUTTONS | PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION;
  static constexpr WTPKT kRelativeCapable = PK_BUTTONS | PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION;
  static constexpr uint32_t kOptions = CXO_SYSTEM | CXO_PEN | CXO_MESSAGES | CXO_CSRMESSAGES | CXO_MARGIN | CXO_MGNINSIDE;
  static constexpr int kLargestItem = 512;

  TWintabInfo(const TWintabSession& session, Desktop desktop) : session_(session), desktop_(desktop) {}

  // The item's size in bytes; copies it to `out` unless that is null. 0:
  // no such item. Category 0 gives the size of the largest category.
  uint32_t Get(uint32_t category, uint32_t index, void* out, bool wide) const;

  // The default digitizing context (device coordinates) or the default
  // system context (desktop pixels); in both y counts from the bottom.
  static LOGCONTEXTW DefaultContext(bool system, const Desktop& desktop);

 private:
  const TWintabSession& session_;
  Desktop desktop_;
};

// Character set conversions of context records (names are ASCII; others
// become '?').
LOGCONTEXTW Widen(const LOGCONTEXTA& a);
LOGCONTEXTA Narrow(const LOGCONTEXTW& w);

}  // namespace pen::wintab

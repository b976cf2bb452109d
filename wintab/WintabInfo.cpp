#include "wintab/WintabInfo.h"

#include <algorithm>
#include <cstring>

#include "wintab/TabletSample.h"

namespace pen::wintab {

namespace {

// Builds one item.
class Item {
 public:
  explicit Item(bool wide) : wide_(wide) {}
  Item& U8(uint8_t v) { return Bytes(&v, 1); }
  Item& U16(uint16_t v) { return Bytes(&v, 2); }
  Item& U32(uint32_t v) { return Bytes(&v, 4); }
  Item& I32(int32_t v) { return Bytes(&v, 4); }
  Item& Axis(int32_t min, int32_t max, uint32_t units, FIX32 resolution) {
    const AXIS a{min, max, units, resolution};
    return Bytes(&a, sizeof a);
  }
  // A string with its terminator in the caller's character set.
  Item& Text(const char* s) {
    const size_t n = std::strlen(s);
    for (size_t i = 0; i <= n; ++i) Char(s[i]);
    return *this;
  }
  Item& Char(char c) {
    if (wide_) return U16(static_cast<uint8_t>(c));
    return U8(static_cast<uint8_t>(c));
  }
  Item& Bytes(const void* p, size_t n) {
    if (size_ + n <= sizeof bytes_) {
      std::memcpy(bytes_ + size_, p, n);
      size_ += n;
    }
    return *this;
  }
  uint32_t Give(void* out) const {
    if (out != nullptr && size_ > 0) std::memcpy(out, bytes_, size_);
    return static_cast<uint32_t>(size_);
  }
  bool Wide() const { return wide_; }

 private:
  bool wide_;
  uint8_t bytes_[TWintabInfo::kLargestItem]{};
  size_t size_ = 0;
};

void ContextItem(Item& item, const LOGCONTEXTW& lc, uint32_t index) {
  if (index == 0) {
    if (item.Wide()) {
      item.Bytes(&lc, sizeof lc);
    } else {
      const LOGCONTEXTA a = Narrow(lc);
      item.Bytes(&a, sizeof a);
    }
    return;
  }
  if (index == CTX_NAME) {
    for (int i = 0; i < LCNAMELEN; ++i) {
      const char16_t c = lc.lcName[i];
      item.Char(c < 0x80 ? static_cast<char>(c) : '?');
      if (c == 0) break;
    }
    return;
  }
  if (index > CTX_MAX) return;
  uint32_t v = 0;
  std::memcpy(&v, reinterpret_cast<const uint8_t*>(&lc.f) + (index - CTX_OPTIONS) * 4, 4);
  item.U32(v);
}

}  // namespace

LOGCONTEXTW Widen(const LOGCONTEXTA& a) {
  LOGCONTEXTW w{};
  for (int i = 0; i < LCNAMELEN; ++i) w.lcName[i] = static_cast<unsigned char>(a.lcName[i]) < 0x80 ? a.lcName[i] : u'?';
  w.f = a.f;
  return w;
}

LOGCONTEXTA Narrow(const LOGCONTEXTW& w) {
  LOGCONTEXTA a{};
  for (int i = 0; i < LCNAMELEN; ++i) a.lcName[i] = w.lcName[i] < 0x80 ? static_cast<char>(w.lcName[i]) : '?';
  a.lcName[LCNAMELEN - 1] = 0;
  a.f = w.f;
  return a;
}

LOGCONTEXTW TWintabInfo::DefaultContext(bool system, const Desktop& d) {
  LOGCONTEXTW lc{};
  const char* name = system ? "Pen Tablet System" : "Pen Tablet Digitizing";
  for (int i = 0; name[i] != 0 && i < LCNAMELEN - 1; ++i) lc.lcName[i] = static_cast<char16_t>(name[i]);
  ContextFields& f = lc.f;
  f.lcOptions = system ? CXO_SYSTEM : 0;
  f.lcMsgBase = WT_DEFBASE;
  f.lcPktRate = kPacketRate;
  f.lcPktData = kDeviceData;
  f.lcMoveMask = kDeviceData;
  f.lcBtnDnMask = f.lcBtnUpMask = kButtonBits;
  f.lcInExtX = f.lcInExtY = kAxisExtent;
  if (system) {
    // Desktop pixels, y counted from the bottom as all tablet coordinates
    // are: programs negate lcOutExtY to count from the top.
    f.lcOutExtX = d.width;
    f.lcOutExtY = d.height;
  } else {
    f.lcOutExtX = f.lcOutExtY = kAxisExtent;
  }
  f.lcSensX = f.lcSensY = f.lcSensZ = Fix32(1);
  f.lcSysMode = 0;
  f.lcSysOrgX = d.left;
  f.lcSysOrgY = d.top;
  f.lcSysExtX = d.width;
  f.lcSysExtY = d.height;
  f.lcSysSensX = f.lcSysSensY = Fix32(1);
  return lc;
}

uint32_t TWintabInfo::Get(uint32_t category, uint32_t index, void* out, bool wide) const {
  Item item(wide);
  const Desktop& d = desktop_;
  switch (category) {
    case 0:
      // Nothing is copied.
      return wide ? sizeof(LOGCONTEXTW) : sizeof(LOGCONTEXTA);
    case WTI_INTERFACE:
      switch (index) {
        case IFC_WINTABID: item.Text(kId); break;
        case IFC_SPECVERSION: item.U16(kSpecVersion); break;
        case IFC_IMPLVERSION: item.U16(kImplVersion); break;
        case IFC_NDEVICES: item.U32(1); break;
        case IFC_NCURSORS: item.U32(kCursors); break;
        case IFC_NCONTEXTS: item.U32(TWintabSession::kMaxContexts); break;
        case IFC_CTXOPTIONS: item.U32(kOptions); break;
        case IFC_CTXSAVESIZE: item.U32(TWintabSession::kSaveSize); break;
        case IFC_NEXTENSIONS: item.U32(0); break;
        case IFC_NMANAGERS: item.U32(TWintabSession::kMaxManagers); break;
        default: break;
      }
      break;
    case WTI_STATUS:
      switch (index) {
        case STA_CONTEXTS: item.U32(session_.OpenContexts()); break;
        case STA_SYSCTXS: item.U32(session_.OpenSystemContexts()); break;
        case STA_PKTRATE: item.U32(kPacketRate); break;
        case STA_PKTDATA: item.U32(session_.DataInUse()); break;
        case STA_MANAGERS: item.U32(session_.Managers()); break;
        case STA_SYSTEM: item.U32(1); break;
        case STA_BUTTONUSE: item.U32(session_.ButtonsInUse(false)); break;
        case STA_SYSBTNUSE: item.U32(session_.ButtonsInUse(true)); break;
        default: break;
      }
      break;
    case WTI_DEFCONTEXT:
    case WTI_DDCTXS:
      ContextItem(item, DefaultContext(false, d), index);
      break;
    case WTI_DEFSYSCTX:
    case WTI_DSCTXS:
      ContextItem(item, DefaultContext(true, d), index);
      break;
    case WTI_DEVICES: {
      // Device coordinates span the desktop: their resolution is given as
      // if the desktop were shown at 96 pixels to the inch.
      const FIX32 resX = Fix32(static_cast<uint32_t>(kAxisExtent * 96 / std::max(d.width, 1)));
      const FIX32 resY = Fix32(static_cast<uint32_t>(kAxisExtent * 96 / std::max(d.height, 1)));
      switch (index) {
        case DVC_NAME: item.Text("Pen Tablet"); break;
        case DVC_HARDWARE: item.U32(HWC_HARDPROX); break;
        case DVC_NCSRTYPES: item.U32(kCursors); break;
        case DVC_FIRSTCSR: item.U32(0); break;
        case DVC_PKTRATE: item.U32(kPacketRate); break;
        case DVC_PKTDATA: item.U32(kDeviceData); break;
        case DVC_PKTMODE: item.U32(kRelativeCapable); break;
        case DVC_CSRDATA: item.U32(0); break;
        case DVC_XMARGIN:
        case DVC_YMARGIN:
        case DVC_ZMARGIN: item.I32(0); break;
        case DVC_X: item.Axis(0, kAxisMax, TU_INCHES, resX); break;
        case DVC_Y: item.Axis(0, kAxisMax, TU_INCHES, resY); break;
        // Axes the pen does not have: all zero.
        case DVC_Z:
        case DVC_TPRESSURE: item.Axis(0, 0, TU_NONE, 0); break;
        case DVC_NPRESSURE: item.Axis(0, kPressureMax, TU_NONE, 0); break;
        case DVC_ORIENTATION:
          item.Axis(0, 3599, TU_CIRCLE, Fix32(3600)).Axis(0, 900, TU_CIRCLE, Fix32(3600)).Axis(0, 0, TU_NONE, 0);
          break;
        case DVC_ROTATION: item.Axis(0, 0, TU_NONE, 0).Axis(0, 0, TU_NONE, 0).Axis(0, 0, TU_NONE, 0); break;
        case DVC_PNPID: item.Text("HID\\VID_08F2&PID_6811"); break;
        default: break;
      }
      break;
    }
    case WTI_CURSORS:
    case WTI_CURSORS + 1: {
      const bool pen = category == WTI_CURSORS + kPenCursor;
      const WTPKT data = pen ? kDeviceData : 0;
      switch (index) {
        case CSR_NAME: item.Text(pen ? "Pressure Pen" : "Unused"); break;
        case CSR_ACTIVE: item.U32(pen ? 1 : 0); break;
        case CSR_PKTDATA: item.U32(data); break;
        case CSR_BUTTONS: item.U8(pen ? kButtonCount : 0); break;
        case CSR_BUTTONBITS: item.U8(pen ? kButtonCount : 0); break;
        case CSR_BTNNAMES:
          if (pen) item.Text("Tip").Text("Lower Side").Text("Upper Side");
          item.Char(0);
          break;
        case CSR_BUTTONMAP:
          for (uint8_t b = 0; b < 32; ++b) item.U8(pen && b < kButtonCount ? b : 0);
          break;
        case CSR_SYSBTNMAP: {
          const uint8_t map[3] = {SBN_LCLICK, SBN_RCLICK, SBN_MCLICK};
          for (uint8_t b = 0; b < 32; ++b) item.U8(pen && b < kButtonCount ? map[b] : SBN_NONE);
          break;
        }
        case CSR_NPBUTTON: item.U8(0); break;
        case CSR_NPBTNMARKS: item.U32(0).U32(pen ? 1 : 0); break;
        case CSR_NPRESPONSE: item.U32(0).U32(pen ? kPressureMax : 0); break;
        case CSR_TPBUTTON: item.U8(0xFF); break;
        case CSR_TPBTNMARKS: item.U32(0).U32(0); break;
        case CSR_TPRESPONSE: item.U32(0).U32(0); break;
        case CSR_PHYSID: item.U32(pen ? 1 : 0); break;
        case CSR_MODE: item.U32(0); break;
        case CSR_MINPKTDATA: item.U32(data); break;
        case CSR_MINBUTTONS: item.U32(pen ? kButtonCount : 0); break;
        case CSR_CAPABILITIES: item.U32(0); break;
        // A general pen in the common coding of cursor types.
        case CSR_TYPE: item.U32(pen ? 0x0802 : 0); break;
        default: break;
      }
      break;
    }
    default:
      break;
  }
  return item.Give(out);
}

}  // namespace pen::wintab

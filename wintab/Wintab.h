#pragma once
// The Wintab interface as drawing programs see it: messages, packet data
// bits, information categories and indices, and the context, axis and
// orientation records, with the layouts and numbers of the published
// Wintab 1.4 interface. Written for this library; it needs no system
// header, so the portable core and its tests compile it anywhere.
#include <cstdint>

namespace pen::wintab {

using WTPKT = uint32_t;  // a set of PK_ bits
using FIX32 = uint32_t;  // 16.16 fixed point

constexpr FIX32 Fix32(uint32_t whole) { return whole << 16; }

// Messages: base (lcMsgBase, WT_DEFBASE unless a context asks for another)
// plus an offset.
constexpr uint32_t WT_DEFBASE = 0x7FF0;
constexpr uint32_t WT_MAXOFFSET = 0xF;
constexpr uint32_t WT_PACKET = 0;     // wParam serial, lParam context
constexpr uint32_t WT_CTXOPEN = 1;    // wParam context, lParam status
constexpr uint32_t WT_CTXCLOSE = 2;   // wParam context, lParam status
constexpr uint32_t WT_CTXUPDATE = 3;  // wParam context, lParam status
constexpr uint32_t WT_CTXOVERLAP = 4; // wParam context, lParam status
constexpr uint32_t WT_PROXIMITY = 5;  // wParam context, lParam (in context, in hardware proximity)
constexpr uint32_t WT_INFOCHANGE = 6; // wParam manager, lParam (category, index)
constexpr uint32_t WT_CSRCHANGE = 7;  // wParam serial, lParam context

// Packet data items, in the order they are laid out in a packet.
constexpr WTPKT PK_CONTEXT = 0x0001;
constexpr WTPKT PK_STATUS = 0x0002;
constexpr WTPKT PK_TIME = 0x0004;
constexpr WTPKT PK_CHANGED = 0x0008;
constexpr WTPKT PK_SERIAL_NUMBER = 0x0010;
constexpr WTPKT PK_CURSOR = 0x0020;
constexpr WTPKT PK_BUTTONS = 0x0040;
constexpr WTPKT PK_X = 0x0080;
constexpr WTPKT PK_Y = 0x0100;
constexpr WTPKT PK_Z = 0x0200;
constexpr WTPKT PK_NORMAL_PRESSURE = 0x0400;
constexpr WTPKT PK_TANGENT_PRESSURE = 0x0800;
constexpr WTPKT PK_ORIENTATION = 0x1000;
constexpr WTPKT PK_ROTATION = 0x2000;

// Packet status bits.
constexpr uint32_t TPS_PROXIMITY = 0x0001;  // the cursor is out of the context
constexpr uint32_t TPS_QUEUE_ERR = 0x0002;  // the queue overflowed before this packet
constexpr uint32_t TPS_MARGIN = 0x0004;
constexpr uint32_t TPS_GRAB = 0x0008;
constexpr uint32_t TPS_INVERT = 0x0010;

// Relative buttons: low word the button, high word what happened.
constexpr uint32_t TBN_NONE = 0;
constexpr uint32_t TBN_UP = 1;
constexpr uint32_t TBN_DOWN = 2;

// Context options, status and locks.
constexpr uint32_t CXO_SYSTEM = 0x0001;
constexpr uint32_t CXO_PEN = 0x0002;
constexpr uint32_t CXO_MESSAGES = 0x0004;
constexpr uint32_t CXO_CSRMESSAGES = 0x0008;
constexpr uint32_t CXO_MGNINSIDE = 0x4000;
constexpr uint32_t CXO_MARGIN = 0x8000;
constexpr uint32_t CXS_DISABLED = 0x0001;
constexpr uint32_t CXS_OBSCURED = 0x0002;
constexpr uint32_t CXS_ONTOP = 0x0004;
constexpr uint32_t CXL_INSIZE = 0x0001;
constexpr uint32_t CXL_INASPECT = 0x0002;
constexpr uint32_t CXL_SENSITIVITY = 0x0004;
constexpr uint32_t CXL_MARGIN = 0x0008;
constexpr uint32_t CXL_SYSOUT = 0x0010;

// Units of an axis.
constexpr uint32_t TU_NONE = 0;
constexpr uint32_t TU_INCHES = 1;
constexpr uint32_t TU_CENTIMETERS = 2;
constexpr uint32_t TU_CIRCLE = 3;

// Hardware and cursor capabilities.
constexpr uint32_t HWC_INTEGRATED = 0x0001;
constexpr uint32_t HWC_TOUCH = 0x0002;
constexpr uint32_t HWC_HARDPROX = 0x0004;
constexpr uint32_t HWC_PHYSID_CURSORS = 0x0008;
constexpr uint32_t CRC_MULTIMODE = 0x0001;
constexpr uint32_t CRC_AGGREGATE = 0x0002;
constexpr uint32_t CRC_INVERT = 0x0004;

// System button functions (CSR_SYSBTNMAP).
constexpr uint8_t SBN_NONE = 0x00;
constexpr uint8_t SBN_LCLICK = 0x01;
constexpr uint8_t SBN_RCLICK = 0x04;
constexpr uint8_t SBN_MCLICK = 0x07;

// Device configuration answers.
constexpr uint32_t WTDC_NONE = 0;
constexpr uint32_t WTDC_CANCEL = 1;
constexpr uint32_t WTDC_OK = 2;
constexpr uint32_t WTDC_RESTART = 3;

// Information categories and their indices.
constexpr uint32_t WTI_INTERFACE = 1;
constexpr uint32_t IFC_WINTABID = 1;
constexpr uint32_t IFC_SPECVERSION = 2;
constexpr uint32_t IFC_IMPLVERSION = 3;
constexpr uint32_t IFC_NDEVICES = 4;
constexpr uint32_t IFC_NCURSORS = 5;
constexpr uint32_t IFC_NCONTEXTS = 6;
constexpr uint32_t IFC_CTXOPTIONS = 7;
constexpr uint32_t IFC_CTXSAVESIZE = 8;
constexpr uint32_t IFC_NEXTENSIONS = 9;
constexpr uint32_t IFC_NMANAGERS = 10;

constexpr uint32_t WTI_STATUS = 2;
constexpr uint32_t STA_CONTEXTS = 1;
constexpr uint32_t STA_SYSCTXS = 2;
constexpr uint32_t STA_PKTRATE = 3;
constexpr uint32_t STA_PKTDATA = 4;
constexpr uint32_t STA_MANAGERS = 5;
constexpr uint32_t STA_SYSTEM = 6;
constexpr uint32_t STA_BUTTONUSE = 7;
constexpr uint32_t STA_SYSBTNUSE = 8;

constexpr uint32_t WTI_DEFCONTEXT = 3;
constexpr uint32_t WTI_DEFSYSCTX = 4;
constexpr uint32_t WTI_DDCTXS = 400;  // plus the device
constexpr uint32_t WTI_DSCTXS = 500;  // plus the device
constexpr uint32_t CTX_NAME = 1;
constexpr uint32_t CTX_OPTIONS = 2;
constexpr uint32_t CTX_STATUS = 3;
constexpr uint32_t CTX_LOCKS = 4;
constexpr uint32_t CTX_MSGBASE = 5;
constexpr uint32_t CTX_DEVICE = 6;
constexpr uint32_t CTX_PKTRATE = 7;
constexpr uint32_t CTX_PKTDATA = 8;
constexpr uint32_t CTX_PKTMODE = 9;
constexpr uint32_t CTX_MOVEMASK = 10;
constexpr uint32_t CTX_BTNDNMASK = 11;
constexpr uint32_t CTX_BTNUPMASK = 12;
constexpr uint32_t CTX_INORGX = 13;
constexpr uint32_t CTX_SYSSENSY = 34;
constexpr uint32_t CTX_MAX = 34;

constexpr uint32_t WTI_DEVICES = 100;  // plus the device
constexpr uint32_t DVC_NAME = 1;
constexpr uint32_t DVC_HARDWARE = 2;
constexpr uint32_t DVC_NCSRTYPES = 3;
constexpr uint32_t DVC_FIRSTCSR = 4;
constexpr uint32_t DVC_PKTRATE = 5;
constexpr uint32_t DVC_PKTDATA = 6;
constexpr uint32_t DVC_PKTMODE = 7;
constexpr uint32_t DVC_CSRDATA = 8;
constexpr uint32_t DVC_XMARGIN = 9;
constexpr uint32_t DVC_YMARGIN = 10;
constexpr uint32_t DVC_ZMARGIN = 11;
constexpr uint32_t DVC_X = 12;
constexpr uint32_t DVC_Y = 13;
constexpr uint32_t DVC_Z = 14;
constexpr uint32_t DVC_NPRESSURE = 15;
constexpr uint32_t DVC_TPRESSURE = 16;
constexpr uint32_t DVC_ORIENTATION = 17;
constexpr uint32_t DVC_ROTATION = 18;
constexpr uint32_t DVC_PNPID = 19;

constexpr uint32_t WTI_CURSORS = 200;  // plus the cursor
constexpr uint32_t CSR_NAME = 1;
constexpr uint32_t CSR_ACTIVE = 2;
constexpr uint32_t CSR_PKTDATA = 3;
constexpr uint32_t CSR_BUTTONS = 4;
constexpr uint32_t CSR_BUTTONBITS = 5;
constexpr uint32_t CSR_BTNNAMES = 6;
constexpr uint32_t CSR_BUTTONMAP = 7;
constexpr uint32_t CSR_SYSBTNMAP = 8;
constexpr uint32_t CSR_NPBUTTON = 9;
constexpr uint32_t CSR_NPBTNMARKS = 10;
constexpr uint32_t CSR_NPRESPONSE = 11;
constexpr uint32_t CSR_TPBUTTON = 12;
constexpr uint32_t CSR_TPBTNMARKS = 13;
constexpr uint32_t CSR_TPRESPONSE = 14;
constexpr uint32_t CSR_PHYSID = 15;
constexpr uint32_t CSR_MODE = 16;
constexpr uint32_t CSR_MINPKTDATA = 17;
constexpr uint32_t CSR_MINBUTTONS = 18;
constexpr uint32_t CSR_CAPABILITIES = 19;
constexpr uint32_t CSR_TYPE = 20;

constexpr uint32_t WTI_EXTENSIONS = 300;

// Records, laid out as the interface fixes them (all fields 32-bit but the
// names).
constexpr int LCNAMELEN = 40;

struct AXIS {
  int32_t axMin;
  int32_t axMax;
  uint32_t axUnits;
  FIX32 axResolution;
};

struct ORIENTATION {
  int32_t orAzimuth;   // tenths of a degree, clockwise from the tablet's top
  int32_t orAltitude;  // tenths of a degree above the tablet's plane
  int32_t orTwist;
};

struct ROTATION {
  int32_t roPitch;
  int32_t roRoll;
  int32_t roYaw;
};

// The fields of a context after its name, shared by both character sets.
struct ContextFields {
  uint32_t lcOptions;
  uint32_t lcStatus;
  uint32_t lcLocks;
  uint32_t lcMsgBase;
  uint32_t lcDevice;
  uint32_t lcPktRate;
  WTPKT lcPktData;
  WTPKT lcPktMode;
  WTPKT lcMoveMask;
  uint32_t lcBtnDnMask;
  uint32_t lcBtnUpMask;
  int32_t lcInOrgX;
  int32_t lcInOrgY;
  int32_t lcInOrgZ;
  int32_t lcInExtX;
  int32_t lcInExtY;
  int32_t lcInExtZ;
  int32_t lcOutOrgX;
  int32_t lcOutOrgY;
  int32_t lcOutOrgZ;
  int32_t lcOutExtX;
  int32_t lcOutExtY;
  int32_t lcOutExtZ;
  FIX32 lcSensX;
  FIX32 lcSensY;
  FIX32 lcSensZ;
  int32_t lcSysMode;
  int32_t lcSysOrgX;
  int32_t lcSysOrgY;
  int32_t lcSysExtX;
  int32_t lcSysExtY;
  FIX32 lcSysSensX;
  FIX32 lcSysSensY;
};

struct LOGCONTEXTA {
  char lcName[LCNAMELEN];
  ContextFields f;
};

struct LOGCONTEXTW {
  char16_t lcName[LCNAMELEN];
  ContextFields f;
};

static_assert(sizeof(AXIS) == 16);
static_assert(sizeof(ORIENTATION) == 12);
static_assert(sizeof(ContextFields) == 132);
static_assert(sizeof(LOGCONTEXTA) == 172);
static_assert(sizeof(LOGCONTEXTW) == 212);

}  // namespace pen::wintab

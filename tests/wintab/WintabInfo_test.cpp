#include "wintab/WintabInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace pen::wintab {
namespace {

class NoWindows : public IWintabWindows {
 public:
  void Post(uint64_t, uint32_t, uint64_t, int64_t) override {}
};

struct InfoRig {
  NoWindows windows;
  TWintabSession session{windows, 8};
  TWintabInfo info{session, Desktop{-1920, 0, 3840, 1080}};

  template <typename T>
  T Get(uint32_t category, uint32_t index, uint32_t expectSize = sizeof(T)) {
    T out{};
    EXPECT_EQ(info.Get(category, index, nullptr, false), expectSize) << category << "/" << index;
    EXPECT_EQ(info.Get(category, index, &out, false), expectSize);
    return out;
  }
  std::string Text(uint32_t category, uint32_t index) {
    char buf[TWintabInfo::kLargestItem];
    const uint32_t n = info.Get(category, index, buf, false);
    return std::string(buf, n);
  }
};

TEST(WintabInfo, AProbeOfCategoryZeroAnswersTheLargestSizeWithoutWriting) {
  InfoRig r;
  EXPECT_EQ(r.info.Get(0, 0, nullptr, true), 212u);
  EXPECT_EQ(r.info.Get(0, 0, nullptr, false), 172u);
  EXPECT_EQ(r.info.Get(WTI_EXTENSIONS, 1, nullptr, false), 0u);
  EXPECT_EQ(r.info.Get(WTI_INTERFACE, 99, nullptr, false), 0u);
  EXPECT_EQ(r.info.Get(WTI_DEVICES + 1, DVC_NAME, nullptr, false), 0u);  // one device only
}

TEST(WintabInfo, TheInterfaceNamesItselfAndVersionOnePointFour) {
  InfoRig r;
  EXPECT_EQ(r.Get<uint16_t>(WTI_INTERFACE, IFC_SPECVERSION), 0x0104);
  EXPECT_EQ(r.Get<uint32_t>(WTI_INTERFACE, IFC_NDEVICES), 1u);
  EXPECT_EQ(r.Get<uint32_t>(WTI_INTERFACE, IFC_NCURSORS), 2u);
  EXPECT_EQ(r.Get<uint32_t>(WTI_INTERFACE, IFC_CTXSAVESIZE), 220u);
  const std::string id = r.Text(WTI_INTERFACE, IFC_WINTABID);
  EXPECT_EQ(id, std::string("Pen Tablet Wintab over the penhost channel") + '\0');
  // Wide: two bytes a character, the same text.
  char16_t wide[64]{};
  EXPECT_EQ(r.info.Get(WTI_INTERFACE, IFC_WINTABID, wide, true), 2u * id.size());
  EXPECT_EQ(wide[0], u'P');
  EXPECT_EQ(wide[id.size() - 1], 0);
}

TEST(WintabInfo, TheDeviceHasTheChannelsRangesPressureToTwoThousandFortyEightAndTiltAsOrientation) {
  InfoRig r;
  const AXIS x = r.Get<AXIS>(WTI_DEVICES, DVC_X);
  EXPECT_EQ(x.axMin, 0);
  EXPECT_EQ(x.axMax, 65520);
  EXPECT_EQ(x.axUnits, TU_INCHES);
  EXPECT_EQ(x.axResolution, 1638u << 16);  // 65521 lines over 3840 pixels at 96 to the inch
  EXPECT_EQ(r.Get<AXIS>(WTI_DEVICES, DVC_Y).axResolution, 5824u << 16);
  const AXIS p = r.Get<AXIS>(WTI_DEVICES, DVC_NPRESSURE);
  EXPECT_EQ(p.axMin, 0);
  EXPECT_EQ(p.axMax, 2048);
  const AXIS none = r.Get<AXIS>(WTI_DEVICES, DVC_TPRESSURE);
  EXPECT_EQ(none.axMax, 0);
  AXIS o[3];
  ASSERT_EQ(r.info.Get(WTI_DEVICES, DVC_ORIENTATION, o, false), 48u);
  EXPECT_EQ(o[0].axMax, 3599);
  EXPECT_EQ(o[1].axMax, 900);
  EXPECT_EQ(o[0].axUnits, TU_CIRCLE);
  EXPECT_EQ(o[2].axResolution, 0u);  // no twist
  EXPECT_EQ(r.Get<uint32_t>(WTI_DEVICES, DVC_PKTDATA) & (PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION),
            PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION);
  EXPECT_EQ(r.Get<uint32_t>(WTI_DEVICES, DVC_PKTDATA) & (PK_Z | PK_TANGENT_PRESSURE | PK_ROTATION), 0u);
}

TEST(WintabInfo, CursorOneIsTheActivePenWithThreeButtonsAndCursorZeroNeverReports) {
  InfoRig r;
  EXPECT_EQ(r.Get<uint32_t>(WTI_CURSORS + 1, CSR_ACTIVE), 1u);
  EXPECT_EQ(r.Get<uint32_t>(WTI_CURSORS + 0, CSR_ACTIVE), 0u);
  EXPECT_EQ(r.Get<uint8_t>(WTI_CURSORS + 1, CSR_BUTTONS), 3);
  EXPECT_EQ(r.Get<uint32_t>(WTI_CURSORS + 1, CSR_TYPE) & 0x0F06, 0x0802u);
  EXPECT_EQ(r.Text(WTI_CURSORS + 1, CSR_BTNNAMES), std::string("Tip\0Lower Side\0Upper Side\0\0", 27));
  EXPECT_EQ(r.Text(WTI_CURSORS + 1, CSR_NAME), std::string("Pressure Pen") + '\0');
  EXPECT_EQ(r.info.Get(WTI_CURSORS + 2, CSR_NAME, nullptr, false), 0u);
}

TEST(WintabInfo, TheDefaultContextsCoverTheDeviceAndTheSystemOneMapsOntoTheDesktopFromTheBottom) {
  InfoRig r;
  LOGCONTEXTA dig{};
  ASSERT_EQ(r.info.Get(WTI_DEFCONTEXT, 0, &dig, false), 172u);
  EXPECT_EQ(dig.f.lcOptions & CXO_SYSTEM, 0u);
  EXPECT_EQ(dig.f.lcInExtX, 65521);
  EXPECT_EQ(dig.f.lcOutExtY, 65521);
  EXPECT_EQ(dig.f.lcMsgBase, WT_DEFBASE);
  EXPECT_STREQ(dig.lcName, "Pen Tablet Digitizing");
  LOGCONTEXTW sys{};
  ASSERT_EQ(r.info.Get(WTI_DEFSYSCTX, 0, &sys, true), 212u);
  EXPECT_EQ(sys.f.lcOptions & CXO_SYSTEM, CXO_SYSTEM);
  EXPECT_EQ(sys.f.lcOutExtX, 3840);
  EXPECT_EQ(sys.f.lcOutExtY, 1080);  // programs negate it to count from the top
  EXPECT_EQ(sys.f.lcSysOrgX, -1920);
  EXPECT_EQ(sys.f.lcSysExtX, 3840);
  // Single items by their index.
  EXPECT_EQ(r.Get<uint32_t>(WTI_DEFSYSCTX, CTX_OPTIONS), CXO_SYSTEM);
  EXPECT_EQ(r.Get<uint32_t>(WTI_DEFCONTEXT, CTX_PKTDATA), TWintabInfo::kDeviceData);
  EXPECT_EQ(r.Get<int32_t>(WTI_DEFSYSCTX, 31), 3840);  // CTX_SYSEXTX
  EXPECT_EQ(r.Get<uint32_t>(WTI_DEFCONTEXT, CTX_SYSSENSY), 0x10000u);
  EXPECT_EQ(r.info.Get(WTI_DEFCONTEXT, CTX_MAX + 1, nullptr, false), 0u);
  EXPECT_EQ(r.Text(WTI_DDCTXS, CTX_NAME), std::string("Pen Tablet Digitizing") + '\0');
}

TEST(WintabInfo, TheStatusCountsThisProcesssContextsAndWhatTheyAskFor) {
  InfoRig r;
  EXPECT_EQ(r.Get<uint32_t>(WTI_STATUS, STA_CONTEXTS), 0u);
  LOGCONTEXTW sys = TWintabInfo::DefaultContext(true, Desktop{});
  sys.f.lcPktData = PK_X | PK_Y;
  sys.f.lcBtnDnMask = 1;
  sys.f.lcBtnUpMask = 0;
  LOGCONTEXTW dig = TWintabInfo::DefaultContext(false, Desktop{});
  dig.f.lcPktData = PK_NORMAL_PRESSURE;
  dig.f.lcBtnDnMask = dig.f.lcBtnUpMask = 4;
  r.session.Open(1, sys, true);
  r.session.Open(1, dig, true);
  EXPECT_EQ(r.Get<uint32_t>(WTI_STATUS, STA_CONTEXTS), 2u);
  EXPECT_EQ(r.Get<uint32_t>(WTI_STATUS, STA_SYSCTXS), 1u);
  EXPECT_EQ(r.Get<uint32_t>(WTI_STATUS, STA_PKTDATA), PK_X | PK_Y | PK_NORMAL_PRESSURE);
  EXPECT_EQ(r.Get<uint32_t>(WTI_STATUS, STA_BUTTONUSE), 5u);
  EXPECT_EQ(r.Get<uint32_t>(WTI_STATUS, STA_SYSBTNUSE), 1u);
}

TEST(WintabInfo, NamesSurviveTheCharacterSetsAndOthersBecomeQuestionMarks) {
  LOGCONTEXTA a{};
  std::strcpy(a.lcName, "Krita\xE9");
  a.f.lcPktData = 77;
  const LOGCONTEXTW w = Widen(a);
  EXPECT_EQ(w.lcName[0], u'K');
  EXPECT_EQ(w.lcName[5], u'?');
  EXPECT_EQ(w.f.lcPktData, 77u);
  LOGCONTEXTW w2 = w;
  w2.lcName[1] = u'\x4E2D';
  const LOGCONTEXTA back = Narrow(w2);
  EXPECT_STREQ(back.lcName, "K?ita?");
}

}  // namespace
}  // namespace pen::wintab

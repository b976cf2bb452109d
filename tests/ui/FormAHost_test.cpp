// The settings window behind the service host, as the program wires them.
#include <gtest/gtest.h>

#include "FormAFakes.h"
#include "support/HostRig.h"

namespace pen::test {
namespace {

class FormAHost : public FormA {
 protected:
  HostRig<FakeClock> rig;
  std::unique_ptr<TPenHostMain> host;

  void StartHost() {
    host = std::make_unique<TPenHostMain>(rig.Parts({.window = form.get(), .texts = &language}));
    host->Start();
    host->LoadSetting();
    rig.device.log.clear();
  }
  void Command(int64_t code, uint64_t w = 0) {
    intptr_t r = 0;
    host->HandleMessage(host_msg::kServiceCommand, w, code, r);
  }
};

TEST_F(FormAHost, CommandsPostedBeforeTheWindowWasOpenedKeepTheStoredSettings) {
  rig.settings.values.inkMode = 1;
  rig.settings.values.screen = {100, 200, 3000, 3500};
  rig.settings.values.tablet = {0, 650, 4095, 3500};
  rig.settings.values.leftHandMode = 1;
  rig.device.connected = true;
  rig.device.memPressure = rig.device.pressure = -40;
  StartHost();
  const HostSettings stored = rig.settings.values;
  Command(10);
  EXPECT_EQ(rig.device.log, (std::vector<std::string>{"mode 3"}));
  Command(0);
  EXPECT_EQ(rig.settings.writes, 1);
  EXPECT_EQ(rig.settings.written.inkMode, 1);
  EXPECT_EQ(rig.settings.written.screen, stored.screen);
  EXPECT_EQ(rig.settings.written.tablet, stored.tablet);
  EXPECT_EQ(rig.settings.written.leftHandMode, 1);
  // Nothing new for device memory: pressure, key and modifiers as stored.
  EXPECT_EQ(rig.device.Count("write"), 0u);
  EXPECT_EQ(rig.device.pressure, -40);
}

TEST_F(FormAHost, ShowingFillsTheWindowAndItsTextsAndPenSamplesReachIt) {
  rig.device.connected = true;
  rig.device.keyUsage = 6;  // "c"
  rig.device.keyModifiers = 5;
  StartHost();
  host->MenuShowClick();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(rig.channel.registered, form->Handle());
  EXPECT_EQ(form->Caption(FormAControl::edt1), u"c");
  EXPECT_TRUE(form->Checked(FormAControl::chk1));
  EXPECT_TRUE(form->Checked(FormAControl::chk2));
  EXPECT_EQ(form->Caption(FormAControl::lblVer), u"SVer: 4.6.1.222   HVer: 2210   ( 5080Max )");
  EXPECT_EQ(form->Caption(FormAControl::pnlFound), u"数位板连接在USB端口");
  EXPECT_EQ(rig.tray.hint, "数位板服务");
  rig.pointer.next.pressure = 1000;
  const uint8_t report[16] = {};
  for (int i = 0; i < 60; ++i) host->OnDigitizerReport(report, sizeof report);
  EXPECT_EQ(form->PressureLevel(), 4000);
  // The close button applies through command 0.
  form->btnOkClick();
  EXPECT_EQ(window.posted.back().code, 0);
}

}  // namespace
}  // namespace pen::test

#include "mac/qt/DelegateSignals.h"

#include <gtest/gtest.h>

#include "mac/MacFakes.h"
#include "mac/qt/QtApp.h"

namespace penmac::qt {
namespace {

TEST(DelegateSignals, EveryPublishedChangeReachesEachListenerUntilTheSignalsGo) {
  test::QtApp();
  test::DelegateRig rig;
  int menu = 0, window = 0;
  {
    DelegateSignals signals(rig.delegate);
    QObject::connect(&signals, &DelegateSignals::changed, [&] { ++menu; });
    QObject::connect(&signals, &DelegateSignals::changed, [&] { ++window; });
    rig.delegate.SetButtonId(0x003);
    rig.delegate.SetDeviceName("[K24]Pen Tablet");
    EXPECT_EQ(menu, 2);
    EXPECT_EQ(window, 2);
  }
  // Gone with the signals object: a later change calls nothing that died.
  rig.delegate.SetButtonId(0x001);
  EXPECT_EQ(menu, 2);
  EXPECT_FALSE(rig.delegate.onChange);
}

}  // namespace
}  // namespace penmac::qt

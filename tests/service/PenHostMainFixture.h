#pragma once
#include <gtest/gtest.h>

#include "support/HostRig.h"

namespace pen::test {

// The host core on fakes of everything it routes between.
class PenHost : public ::testing::Test, protected HostRig<> {
 protected:
  TPenHostMain host{Parts()};

  void StartConnected() {
    device.connected = true;
    host.Start();
    device.log.clear();
    buttons.calls.clear();
  }
  // Posted messages wait in the loop from now on, and run in the host's
  // waits or when the test runs the loop.
  void DeliverPosted() {
    shell.loop = &clock;
    shell.host = &host;
  }
  intptr_t Send(uint32_t msg, uint64_t w = 0, int64_t l = 0) {
    intptr_t r = -1;
    host.HandleMessage(msg, w, l, r);
    return r;
  }
  void Command(int64_t code, uint64_t w = 0) { Send(host_msg::kServiceCommand, w, code); }
  void PenA(uint8_t status, uint16_t pressure) {
    const uint8_t d[9] = {status, 0x10, 0x00, 0x20, 0x00, static_cast<uint8_t>(pressure & 0xFF),
                          static_cast<uint8_t>(pressure >> 8), 5, 6};
    host.OnPenPacket(d, sizeof d);
  }
  void KeysA(uint8_t wheelValue, uint16_t keys, uint8_t byte1 = 0xFF) {
    const uint8_t d[9] = {0x80, byte1, wheelValue, static_cast<uint8_t>(keys & 0xFF), static_cast<uint8_t>(keys >> 8)};
    host.OnPenPacket(d, sizeof d);
  }
  void ReportB() {
    const uint8_t d[16] = {};
    host.OnDigitizerReport(d, sizeof d);
  }
};

}  // namespace pen::test

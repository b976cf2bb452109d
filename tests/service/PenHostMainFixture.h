#pragma once
#include <gtest/gtest.h>

#include "pipeline/ReportEncoder.h"
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
    const auto d = WithoutReportId(EncodeVendorPenPacket(status, 0x0010, 0x0020, pressure, 5, 6));
    host.OnPenPacket(d.data(), d.size());
  }
  // A byte 1 other than 0xFF makes a packet that changes nothing.
  void KeysA(uint8_t wheelValue, uint16_t keys, uint8_t byte1 = 0xFF) {
    auto d = WithoutReportId(EncodeVendorKeyPacket(keys, wheelValue));
    d[report_layout::AfterId(report_layout::vendor::kMarker)] = byte1;
    host.OnPenPacket(d.data(), d.size());
  }
  void ReportB() {
    const uint8_t d[16] = {};
    host.OnDigitizerReport(d, sizeof d);
  }
};

}  // namespace pen::test

#pragma once
#include <memory>
#include <string>
#include <vector>

#include "support/FakeMessageLoop.h"
#include "support/FakeHid.h"
#include "support/FakePadLink.h"
#include "common/Beeper.h"
#include "pipeline/ParameterBlock.h"
#include "pipeline/UsbComm.h"

namespace pen::test {

struct CountingBeeper : IBeeper {
  int beeps = 0;
  void Beep() override { ++beeps; }
};

// Records what the device link raises.
struct LinkListener {
  std::vector<bool> connects;
  std::vector<std::vector<uint8_t>> reportsA;
  std::vector<std::vector<uint8_t>> reportsB;
  void OnConnect(bool c) { connects.push_back(c); }
  void OnA(const uint8_t* d, size_t n) { reportsA.emplace_back(d, d + n); }
  void OnB(const uint8_t* d, size_t n) { reportsB.emplace_back(d, d + n); }
};

// A device link with a fake tablet, fake device memory and a fake clock whose
// waits run the messages a test queues.
struct UsbCommRig {
  FakeMessageLoop clock;
  FakeHidController hid;
  FakePadLink pad;
  CountingBeeper beeper;
  LinkListener listener;
  FakeHidDevice* a = nullptr;
  FakeHidDevice* b = nullptr;
  std::unique_ptr<TUsbComm> link;

  UsbCommRig() { pad.ticks = &clock; }

  void AddTablet(uint16_t firmware = 0x0100, std::string product = "R711 Pen Tablet") {
    a = &hid.AddInterfaceA(firmware);
    a->ticks = &clock;
    a->productReads = {std::move(product)};
    b = &hid.AddInterfaceB(firmware);
    b->ticks = &clock;
  }
  TUsbComm& Create(bool withMemory = true) {
    link = std::make_unique<TUsbComm>(hid, withMemory ? &pad : nullptr, clock, beeper);
    return *link;
  }
  void Listen() {
    link->SetOnConnectChange(Event<bool>::Bind<&LinkListener::OnConnect>(&listener));
    link->SetOnInterfaceAReport(TUsbComm::ReportHandler::Bind<&LinkListener::OnA>(&listener));
    link->SetOnInterfaceBReport(TUsbComm::ReportHandler::Bind<&LinkListener::OnB>(&listener));
  }
  // Feature reports that reached the tablet, bytes only.
  std::vector<std::vector<uint8_t>> Sent() const {
    std::vector<std::vector<uint8_t>> out;
    for (auto& f : a->features) out.push_back(f.bytes);
    return out;
  }
  void ForgetCalls() {
    pad.calls.clear();
    a->features.clear();
  }
};

inline ParamBlock MakeBlock(uint16_t base, uint8_t key, uint8_t mods, uint16_t pressure, uint8_t rotation) {
  ParamBlock b;
  b.fill(0xFF);
  WriteBigEndian16(b, 0, base);
  b[2] = key;
  b[3] = mods;
  WriteBigEndian16(b, 4, pressure);
  b[6] = rotation;
  StoreChecksum(b);
  return b;
}

}  // namespace pen::test

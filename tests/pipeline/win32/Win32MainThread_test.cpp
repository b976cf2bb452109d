#include "pipeline/win32/Win32MainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "common/win32/Win32Clock.h"
#include "pipeline/VirtualTablet.h"

namespace pen::win32 {
namespace {

struct ThreadRecorder {
  explicit ThreadRecorder(TVirtualTablet& t) : tablet(t) {}
  TVirtualTablet& tablet;
  std::vector<DWORD> changeThreads, reportThreads;
  std::atomic<int> reports{0};
  IHidDevice* b = nullptr;
  void OnChange() {
    changeThreads.push_back(GetCurrentThreadId());
    if (!b) {
      b = tablet.CheckOut(0x08F2, "mi_01&col01", 0x6811);
      if (b) b->SetDataHandler(IHidDevice::DataHandler::Bind<&ThreadRecorder::OnReport>(this));
    }
  }
  void OnRemoval(IHidDevice* d) {
    if (d == b) tablet.CheckIn(std::exchange(b, nullptr));
  }
  void OnReport(const uint8_t*, size_t) {
    reportThreads.push_back(GetCurrentThreadId());
    ++reports;
  }
};

TEST(Win32MainThread, WorkFromAnotherThreadRunsOnTheCreatingThread) {
  Win32MainThread main;
  DWORD ranOn = 0;
  std::atomic<bool> done{false};
  struct Job {
    DWORD* ranOn;
    void Run() { *ranOn = GetCurrentThreadId(); }
  } job{&ranOn};
  std::thread worker([&] {
    main.Invoke(Event<>::Bind<&Job::Run>(&job));
    done = true;
  });
  main.WaitServing(done);
  worker.join();
  EXPECT_EQ(ranOn, GetCurrentThreadId());
  // On the creating thread itself it runs at once.
  ranOn = 0;
  main.Invoke(Event<>::Bind<&Job::Run>(&job));
  EXPECT_EQ(ranOn, GetCurrentThreadId());
}

TEST(Win32MainThread, APlayedPlugCycleAndEarlyReportsRunOnTheMainThread) {
  Win32MainThread main;
  Win32Clock clock;
  TVirtualTablet tablet(clock, main);
  ThreadRecorder rec(tablet);
  std::string error;
  TTabletRecording session;
  ASSERT_TRUE(session.Parse("start unplugged\n+5 plug\n+5 B 07 00 10 00 10 07 00 00 40\n+5 unplug\n+5 plug\n"
                            "+5 B 07 00 10 00 10 07 00 00 40\n",
                            error))
      << error;
  tablet.Load(session);
  tablet.SetRemovalHandler(Event<IHidDevice*>::Bind<&ThreadRecorder::OnRemoval>(&rec));
  tablet.SetChangeHandler(Event<>::Bind<&ThreadRecorder::OnChange>(&rec));
  tablet.StartPlayback();
  MSG msg;
  while (!tablet.PlaybackFinished()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  tablet.StopPlayback();
  EXPECT_EQ(rec.reports.load(), 2);
  ASSERT_EQ(rec.changeThreads.size(), 4u);  // install, plug, unplug, plug
  for (DWORD t : rec.changeThreads) EXPECT_EQ(t, GetCurrentThreadId());
  for (DWORD t : rec.reportThreads) EXPECT_EQ(t, GetCurrentThreadId());
}

TEST(Win32MainThread, StoppingServesAPlayerBlockedInTheHandOver) {
  Win32MainThread main;
  Win32Clock clock;
  TVirtualTablet tablet(clock, main);
  ThreadRecorder rec(tablet);
  TTabletRecording session;
  uint8_t r[] = {7, 0, 1};
  session.AddReport(0, TabletInterface::B, r, sizeof r);
  session.AddWait(3600000);
  tablet.Load(session);
  tablet.SetChangeHandler(Event<>::Bind<&ThreadRecorder::OnChange>(&rec));
  tablet.StartPlayback();
  Sleep(30);  // no message loop: the player waits in SendMessage
  tablet.StopPlayback();
  EXPECT_TRUE(tablet.PlaybackFinished());
  EXPECT_EQ(rec.reports.load(), 0);
}

}  // namespace
}  // namespace pen::win32

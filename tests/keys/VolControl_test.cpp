// Both volume back ends against fakes of the system's audio calls.
#include "keys/VolControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "keys/SSVolumeController.h"
#include "keys/VistaVol.h"
#include "keys/VolumeWorker.h"

namespace pen::test {
namespace {

// Output devices by name, each with its own level and mute; the calls are
// logged in order.
struct AudioDevices {
  struct Device {
    float level = 0.5f;
    bool muted = false;
  };
  std::map<std::string, Device> devices{{"speakers", {}}};
  std::string defaultDevice = "speakers";
  bool noAudio = false;
  std::vector<std::string> log;
  std::set<std::thread::id> threads;  // every thread that made a call
  std::function<void()> onStep;       // runs inside each step
};

class FakeEndpointApi : public IEndpointVolumeApi {
 public:
  explicit FakeEndpointApi(AudioDevices& a) : a_(a) {}
  ~FakeEndpointApi() override { Log("released"); }
  bool CreateEnumerator() override { return Log("create"), !a_.noAudio; }
  bool EnumerateActiveEndpoints() override { return Log("enumerate"), !a_.noAudio; }
  bool GetDefaultRenderEndpoint() override {
    Log("default");
    candidate_ = a_.defaultDevice;
    return !a_.noAudio && a_.devices.count(candidate_);
  }
  bool ActivateEndpointVolume() override {
    Log("activate");
    if (a_.noAudio || !a_.devices.count(candidate_)) return false;
    inUse_ = candidate_;
    return true;
  }
  bool GetMute(bool& m) override { return Log("get mute"), Use([&](auto& d) { m = d.muted; }); }
  bool GetLevel(float& l) override { return Log("get level"), Use([&](auto& d) { l = d.level; }); }
  bool SetLevel(float l) override {
    Log("set level " + std::to_string(static_cast<int>(l * 100 + 0.5f)));
    return Use([&](auto& d) { d.level = l; });
  }
  bool SetMute(bool m) override {
    Log(m ? "set mute on" : "set mute off");
    return Use([&](auto& d) { d.muted = m; });
  }
  bool StepUp() override {
    if (a_.onStep) a_.onStep();
    return Log("step up " + inUse_), Use([](auto& d) { d.level += 0.02f; });
  }
  bool StepDown() override { return Log("step down " + inUse_), Use([](auto& d) { d.level -= 0.02f; }); }

 private:
  void Log(const std::string& s) {
    a_.log.push_back(s);
    a_.threads.insert(std::this_thread::get_id());
  }
  template <class F>
  bool Use(F f) {
    if (inUse_.empty()) return false;
    f(a_.devices[inUse_]);
    return true;
  }
  AudioDevices& a_;
  std::string candidate_, inUse_;
};

// The mixer's two channels and mute, 0..65535.
struct Mixer {
  uint32_t left = 0, right = 0, mute = 0;
  bool openFails = false, muteReadFails = false;
  bool failedReadsScribble = false;  // a failed read still fills its outputs
  std::vector<std::string> writes;
};

class FakeMixerApi : public IMixerApi {
 public:
  explicit FakeMixerApi(Mixer& m) : m_(m) {}
  bool Open() override { return !m_.openFails; }
  bool ReadVolume(uint32_t& l, uint32_t& r) override {
    if (m_.openFails) {
      if (m_.failedReadsScribble) l = r = m_.left;
      return false;
    }
    l = m_.left;
    r = m_.right;
    return true;
  }
  bool WriteVolume(uint32_t l, uint32_t r) override {
    m_.writes.push_back("volume " + std::to_string(l) + " " + std::to_string(r));
    if (m_.openFails) return false;
    m_.left = l;
    m_.right = r;
    return true;
  }
  bool ReadMute(uint32_t& v) override {
    if (m_.openFails || m_.muteReadFails) {
      if (m_.failedReadsScribble) v = m_.mute;
      return false;
    }
    v = m_.mute;
    return true;
  }
  bool WriteMute(uint32_t v) override {
    m_.writes.push_back("mute " + std::to_string(v));
    m_.mute = v;
    return true;
  }

 private:
  Mixer& m_;
};

class FakeAudio : public IAudioSystem {
 public:
  int version = 10;
  AudioDevices endpoint;
  Mixer mixer;
  int WindowsMajorVersion() override { return version; }
  std::unique_ptr<IEndpointVolumeApi> EndpointApi() override { return std::make_unique<FakeEndpointApi>(endpoint); }
  std::unique_ptr<IMixerApi> MixerApi() override { return std::make_unique<FakeMixerApi>(mixer); }
};

// The smallest channel value that reads as `percent`.
uint32_t Raw(int percent) { return static_cast<uint32_t>((percent * 65535 + 99) / 100); }

TEST(VolControl, VistaAndLaterUseTheEndpointAndOlderWindowsTheMixer) {
  FakeAudio audio;
  audio.mixer.left = audio.mixer.right = Raw(50);
  for (int version : {6, 10}) {
    audio.version = version;
    audio.endpoint.log.clear();
    TVolControl(audio).VolumeUp();
    EXPECT_EQ(std::count(audio.endpoint.log.begin(), audio.endpoint.log.end(), "step up speakers"), 1) << version;
    EXPECT_TRUE(audio.mixer.writes.empty()) << version;
  }
  audio.endpoint.log.clear();
  audio.version = 5;  // Windows XP
  TVolControl(audio).VolumeUp();
  EXPECT_EQ(audio.mixer.writes, (std::vector<std::string>{"volume 36044 36044"}));  // 55
  EXPECT_TRUE(audio.endpoint.log.empty());
}

TEST(EndpointVolume, MutingSavesTheLevelAndZeroesItBeforeTheMuteAndUnmutingRestoresItFirst) {
  FakeAudio audio;
  audio.endpoint.devices["speakers"].level = 0.4f;
  TVolControl volume(audio);
  audio.endpoint.log.clear();
  volume.ToggleMute();
  EXPECT_EQ(audio.endpoint.log, (std::vector<std::string>{"enumerate", "default", "activate", "get level",
                                                           "set level 0", "set mute on"}));
  audio.endpoint.log.clear();
  volume.ToggleMute();
  EXPECT_EQ(audio.endpoint.log,
            (std::vector<std::string>{"enumerate", "default", "activate", "set level 40", "set mute off"}));
}

TEST(EndpointVolume, StepsActOnWhateverDeviceIsTheDefaultAtTheTime) {
  FakeAudio audio;
  audio.endpoint.devices["headset"] = {};
  TVolControl volume(audio);
  volume.VolumeUp();
  audio.endpoint.defaultDevice = "headset";
  volume.VolumeDown();
  audio.endpoint.defaultDevice = "gone";  // a failed acquisition keeps the last device
  volume.VolumeDown();
  std::vector<std::string> steps;
  for (const auto& l : audio.endpoint.log) {
    if (l.rfind("step", 0) == 0) steps.push_back(l);
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"step up speakers", "step down headset", "step down headset"}));
}

TEST(EndpointVolume, AMuteMadeElsewhereIsNotSeenButAMutedStartUnmutesToTheDevicesLevel) {
  FakeAudio audio;
  audio.endpoint.devices["speakers"] = {0.3f, true};
  TVolControl volume(audio);
  volume.ToggleMute();  // the program read "muted" at creation
  EXPECT_FALSE(audio.endpoint.devices["speakers"].muted);
  EXPECT_FLOAT_EQ(audio.endpoint.devices["speakers"].level, 0.3f);
  audio.endpoint.devices["speakers"].muted = true;  // muted by someone else
  volume.ToggleMute();
  EXPECT_TRUE(audio.endpoint.devices["speakers"].muted);
  EXPECT_FLOAT_EQ(audio.endpoint.devices["speakers"].level, 0.0f);
}

TEST(EndpointVolume, WithoutAnAudioDeviceEveryOperationDoesNothingUntilOneAppears) {
  FakeAudio audio;
  audio.endpoint.noAudio = true;
  audio.endpoint.devices["speakers"] = {0.6f, false};
  TVolControl volume(audio);
  volume.VolumeUp();
  volume.VolumeDown();
  volume.ToggleMute();
  EXPECT_FLOAT_EQ(audio.endpoint.devices["speakers"].level, 0.6f);
  EXPECT_FALSE(audio.endpoint.devices["speakers"].muted);
  for (const auto& l : audio.endpoint.log) EXPECT_EQ(l.find("set"), std::string::npos) << l;
  // The headset is plugged in after logon: the next press finds it.
  audio.endpoint.noAudio = false;
  audio.endpoint.devices["speakers"].muted = true;
  audio.endpoint.log.clear();
  volume.VolumeDown();
  ASSERT_FALSE(audio.endpoint.log.empty());
  EXPECT_EQ(audio.endpoint.log.back(), "step down speakers");
  // Its mute and level were read as it was found: the toggle unmutes, to
  // the level it had then.
  volume.ToggleMute();
  EXPECT_FALSE(audio.endpoint.devices["speakers"].muted);
  EXPECT_FLOAT_EQ(audio.endpoint.devices["speakers"].level, 0.6f);
  volume.ToggleMute();
  EXPECT_TRUE(audio.endpoint.devices["speakers"].muted);
  EXPECT_FLOAT_EQ(audio.endpoint.devices["speakers"].level, 0.0f);
}

TEST(MixerVolume, StepsOfFiveStopAtTheEnds) {
  FakeAudio audio;
  audio.version = 5;
  audio.mixer.left = audio.mixer.right = Raw(98);
  TVolControl volume(audio);
  volume.VolumeUp();
  EXPECT_EQ(audio.mixer.writes.back(), "volume 65535 65535");
  volume.VolumeUp();
  EXPECT_EQ(audio.mixer.writes.back(), "volume 65535 65535");
  audio.mixer.left = audio.mixer.right = Raw(3);
  volume.VolumeDown();
  EXPECT_EQ(audio.mixer.writes.back(), "volume 0 0");
  // Every press acts, the first one after creation too.
  EXPECT_EQ(audio.mixer.writes.size(), 3u);
}

TEST(MixerVolume, VolumeAndBalanceComeFromTheLouderChannelWithIntegerDivision) {
  Mixer mixer;
  mixer.left = 65535;
  mixer.right = 32767;
  TssVolumeController c(std::make_unique<FakeMixerApi>(mixer));
  EXPECT_EQ(c.Volume(), 100);
  EXPECT_EQ(c.Balance(), -50);
  c.SetVolume(50);  // with the balance cached at creation
  EXPECT_EQ(mixer.writes.back(), "volume 32767 16383");
  c.SetBalance(50);
  EXPECT_EQ(mixer.writes.back(), "volume 16383 32767");
  c.SetVolume(101);
  c.SetBalance(-101);
  EXPECT_EQ(mixer.writes.size(), 2u);
  mixer.left = mixer.right = 0;
  EXPECT_EQ(c.Balance(), 0);
}

TEST(MixerVolume, MuteTogglesWhatItReadsAndAnUnreadableMuteCountsAsOff) {
  FakeAudio audio;
  audio.version = 5;
  TVolControl volume(audio);
  volume.ToggleMute();
  volume.ToggleMute();
  audio.mixer.muteReadFails = true;
  volume.ToggleMute();
  EXPECT_EQ(audio.mixer.writes, (std::vector<std::string>{"mute 1", "mute 0", "mute 1"}));
}

TEST(MixerVolume, WithoutAMixerEveryPressActsFromSilenceNotFromWhatAFailedReadLeft) {
  FakeAudio audio;
  audio.version = 5;
  audio.mixer.openFails = true;
  // What the mixer calls leave in their outputs when they fail.
  audio.mixer.left = audio.mixer.right = 65535;
  audio.mixer.mute = 1;
  audio.mixer.failedReadsScribble = true;
  TVolControl volume(audio);
  volume.VolumeUp();
  volume.VolumeUp();
  volume.VolumeDown();
  volume.ToggleMute();
  EXPECT_EQ(audio.mixer.writes, (std::vector<std::string>{"volume 3276 3276", "volume 3276 3276", "volume 0 0",
                                                          "mute 1"}));
}

TEST(VolumeWorker, TheAudioIsMadeUsedAndReleasedOnTheWorkersOwnThreadInTheOrderAskedFor) {
  FakeAudio audio;
  {
    TVolumeWorker volume(audio);
    volume.VolumeUp();
    volume.ToggleMute();
    volume.VolumeDown();
    ASSERT_TRUE(volume.WaitIdle(std::chrono::seconds(10)));
    std::vector<std::string> acts;
    for (const auto& l : audio.endpoint.log) {
      if (l.rfind("step", 0) == 0 || l.rfind("set mute", 0) == 0) acts.push_back(l);
    }
    EXPECT_EQ(acts, (std::vector<std::string>{"step up speakers", "set mute on", "step down speakers"}));
    EXPECT_EQ(audio.endpoint.log.front(), "create");
  }
  EXPECT_EQ(audio.endpoint.log.back(), "released");
  EXPECT_EQ(audio.endpoint.threads.size(), 1u);
  EXPECT_EQ(audio.endpoint.threads.count(std::this_thread::get_id()), 0u);
}

TEST(VolumeWorker, ARequestReturnsAtOnceWhileTheAudioIsBusyAndABurstBeyondSixteenIsDropped) {
  FakeAudio audio;
  std::mutex m;
  std::condition_variable cv;
  bool entered = false, open = false;
  audio.endpoint.onStep = [&] {
    std::unique_lock<std::mutex> lock(m);
    entered = true;
    cv.notify_all();
    cv.wait(lock, [&] { return open; });
  };
  TVolumeWorker volume(audio);
  volume.VolumeUp();
  {
    std::unique_lock<std::mutex> lock(m);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(10), [&] { return entered; }));
  }
  // The audio call hangs; twenty more presses neither wait nor pile up.
  for (int i = 0; i < 20; ++i) volume.VolumeUp();
  EXPECT_EQ(volume.Dropped(), 4u);
  EXPECT_FALSE(volume.WaitIdle(std::chrono::milliseconds(0)));
  {
    std::lock_guard<std::mutex> lock(m);
    open = true;
  }
  cv.notify_all();
  ASSERT_TRUE(volume.WaitIdle(std::chrono::seconds(10)));
  size_t steps = 0;
  for (const auto& l : audio.endpoint.log) steps += l == "step up speakers";
  EXPECT_EQ(steps, 17u);
}

}  // namespace
}  // namespace pen::test

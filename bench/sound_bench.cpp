// The OpenAL sound bank on OpenAL Soft: what mixing all 192 channels costs, how long a sound takes from play_once
// to the mixer's output, and how long the bank's calls take while everything plays.
//
// Mixing cost: OpenAL Soft's null output and its wave file writer (which also converts and writes every sample)
// mix in real time on their own thread, like a sound card's; while this program sleeps, its CPU time is the
// mixer's. Measured over 5 s of audio with 192 looping channels at assorted rates (the resampler works), against
// the same device with nothing playing.
//
// Latency: the mixer renders one update period at a time (1024 frames at 44100 Hz by default). A sound leaves
// OpenAL with the first period mixed after play_once. Measured twice, at random phases of the period:
// - on the null output through the bank: until the source's sample offset leaves 0. The null output's thread
//   looks for a due period only every half period, which adds up to half a period;
// - on a loopback device that a thread of ours renders every period on time, as a sound card's interrupt wakes
//   OpenAL's mixer: until a render returns output that holds the sound.
// A sound card plays the sound after the periods already queued ahead of it (the device's buffer), which these
// figures do not include.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "media/openal_sound_bank.h"
#include "media/sine_wave.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using vesk::media::OpenAlSoundBank;
using vesk::media::SoundBank;
using Clock = std::chrono::steady_clock;

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The share of one core this process spends while it sleeps for `span` (the mixer's thread works meanwhile).
double coreShareWhileSleeping(std::chrono::milliseconds span) {
  const double before = cpuSeconds();
  const auto start = Clock::now();
  std::this_thread::sleep_for(span);
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  return (cpuSeconds() - before) / wall;
}

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::lround(p * static_cast<double>(values.size() - 1)));
  return values[index];
}

// Running sounds as the data has them: 22050 Hz mono, a few seconds, each its own.
std::vector<std::shared_ptr<const vesk::media::Wave>> runningSounds() {
  std::vector<std::shared_ptr<const vesk::media::Wave>> waves;
  waves.reserve(SoundBank::kChannelCount);
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
    waves.push_back(vesk::test::sineWave(22050, 22050 * (1 + ch % 3), 80.0 + 7.0 * ch, 0.005));
  }
  return waves;
}

void mixingCost(const char* device) {
  OpenAlSoundBank bank({device, {}});
  if (!bank.working()) {
    std::printf("%-34s (device not available)\n", device);
    return;
  }
  const auto waves = runningSounds();
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) bank.bind_wave(ch, waves[static_cast<std::size_t>(ch)]);
  std::this_thread::sleep_for(200ms);
  const double idle = coreShareWhileSleeping(3000ms);
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
    bank.set_rate(ch, 0.5 + 0.1 * (ch % 16));  // 0.5 .. 2.0: every channel resampled
    bank.set_volume(ch, -(ch % 20) * 100);
    bank.play_loop(ch);
  }
  std::this_thread::sleep_for(200ms);
  const double playing = coreShareWhileSleeping(5000ms);
  int sounding = 0;
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) sounding += bank.is_playing(ch) ? 1 : 0;
  std::printf("mixing %3d looping channels, %-17s %5.2f %% of one core (device idle: %.2f %%)\n", sounding, device,
              100 * playing, 100 * idle);
}

void latency() {
  OpenAlSoundBank bank({"No Output", {}});
  if (!bank.working()) return;
  ALCint frequency = 0;
  ALCint refresh = 0;
  ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
  alcGetIntegerv(device, ALC_FREQUENCY, 1, &frequency);
  alcGetIntegerv(device, ALC_REFRESH, 1, &refresh);
  // Some other channels play meanwhile, as in a drive.
  const auto waves = runningSounds();
  for (int ch = 1; ch < 40; ++ch) {
    bank.bind_wave(ch, waves[static_cast<std::size_t>(ch)]);
    bank.play_loop(ch);
  }
  bank.bind_wave(0, vesk::test::sineWave(22050, 22050, 441));
  const unsigned source = bank.channelState(0).source;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pauseUs(5'000, 5'000 + 1'000'000 * 1024 / 44100);  // any phase of a period
  std::vector<double> ms;
  for (int trial = 0; trial < 100; ++trial) {
    bank.stop(0);
    std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
    const auto start = Clock::now();
    bank.play_once(0);
    ALint offset = 0;
    while (offset == 0 && Clock::now() - start < 500ms) alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::printf(
      "play_once to the first mixed period   median %.1f ms, p90 %.1f ms, max %.1f ms (period %.1f ms at %d Hz)\n",
      percentile(ms, 0.5), percentile(ms, 0.9), percentile(ms, 1.0), refresh > 0 ? 1000.0 / refresh : 0.0, frequency);
}

void loopbackLatency() {
  const auto openLoopback =
      reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  const auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  ALCdevice* device = openLoopback != nullptr && render != nullptr ? openLoopback(nullptr) : nullptr;
  if (device == nullptr) {
    std::printf("(no loopback device)\n");
    return;
  }
  constexpr int kRate = 44100;
  constexpr int kPeriodFrames = 1024;  // OpenAL Soft's default update size
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                               ALC_STEREO_SOFT,
                               ALC_FORMAT_TYPE_SOFT,
                               ALC_FLOAT_SOFT,
                               ALC_FREQUENCY,
                               kRate,
                               ALC_MONO_SOURCES,
                               SoundBank::kChannelCount,
                               0};
  ALCcontext* context = alcCreateContext(device, attributes);
  alcMakeContextCurrent(context);
  const auto tone = vesk::test::sineWave(22050, 22050, 441);
  ALuint buffer = 0;
  ALuint source = 0;
  alGenBuffers(1, &buffer);
  alBufferData(buffer, AL_FORMAT_MONO16, tone->samples.data(), static_cast<ALsizei>(tone->samples.size() * 2), 22050);
  alGenSources(1, &source);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));

  std::atomic<bool> running{true};
  std::atomic<bool> waiting{false};  // for the first output that holds the sound
  std::atomic<Clock::rep> heardAt{0};
  std::thread soundCard([&] {
    std::vector<float> out(std::size_t{kPeriodFrames} * 2);
    const auto period = std::chrono::nanoseconds(std::int64_t{1'000'000'000} * kPeriodFrames / kRate);
    auto next = Clock::now();
    while (running) {
      next += period;
      std::this_thread::sleep_until(next);
      render(device, out.data(), kPeriodFrames);
      if (waiting && std::any_of(out.begin(), out.end(), [](float x) { return std::abs(x) > 1e-3F; })) {
        heardAt = Clock::now().time_since_epoch().count();
        waiting = false;
      }
    }
  });
  std::mt19937 random(11);
  // 60 ms and a phase spread evenly over one period.
  std::uniform_int_distribution<int> pauseUs(60'000, 60'000 + 1'000'000 * kPeriodFrames / kRate);
  std::vector<double> ms;
  for (int trial = 0; trial < 100; ++trial) {
    alSourceStop(source);
    std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
    waiting = true;
    const auto start = Clock::now();
    alSourcePlay(source);
    while (waiting && Clock::now() - start < 500ms) std::this_thread::sleep_for(100us);
    const auto heard = Clock::time_point(Clock::duration(heardAt.load()));
    if (!waiting) ms.push_back(std::chrono::duration<double, std::milli>(heard - start).count());
  }
  running = false;
  soundCard.join();
  alDeleteSources(1, &source);
  alDeleteBuffers(1, &buffer);
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
  alcCloseDevice(device);
  if (ms.empty()) return;
  std::printf(
      "play to the first output, loopback     median %.1f ms, p90 %.1f ms, max %.1f ms (rendered every %.1f ms)\n",
      percentile(ms, 0.5), percentile(ms, 0.9), percentile(ms, 1.0), 1000.0 * kPeriodFrames / kRate);
}

void callTimes() {
  OpenAlSoundBank bank({"No Output", {}});
  if (!bank.working()) return;
  const auto waves = runningSounds();
  for (int ch = 0; ch < SoundBank::kChannelCount; ++ch) {
    bank.bind_wave(ch, waves[static_cast<std::size_t>(ch)]);
    bank.play_loop(ch);
  }
  std::vector<double> us;
  for (int i = 0; i < 20000; ++i) {
    const int ch = i % SoundBank::kChannelCount;
    const auto start = Clock::now();
    switch (i % 4) {
    case 0:
      bank.set_volume(ch, -(i % 3000));
      break;
    case 1:
      bank.set_rate(ch, 0.5 + (i % 100) / 66.0);
      break;
    case 2:
      (void)bank.is_playing(ch);
      break;
    default:
      bank.play_loop(ch);
      break;
    }
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (i % 200 == 0) std::this_thread::sleep_for(1ms);  // spread the calls over many mixing periods
  }
  std::printf("bank call while 192 channels mix     median %.1f us, p99 %.1f us, max %.1f us\n", percentile(us, 0.5),
              percentile(us, 0.99), percentile(us, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
  // OpenAL Soft reads its configuration and picks its output once per process: the wave writer (into a file in
  // a temporary folder) is measured by a second run of this program.
  vesk::test::TempDir folder;
  const auto config = folder.write("alsoft.conf", "[wave]\nfile = " + (folder.path() / "mixed.wav").string() + "\n");
  setenv("ALSOFT_CONF", config.c_str(), 1);
  if (argc > 1 && std::string(argv[1]) == "--wave-writer") {
    setenv("ALSOFT_DRIVERS", "wave", 1);
    mixingCost("Wave File Writer");
    return 0;
  }
  setenv("ALSOFT_DRIVERS", "null", 1);
  mixingCost("No Output");
  std::fflush(stdout);
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  if (std::system(("'" + self + "' --wave-writer").c_str()) != 0) std::printf("(the wave writer's run failed)\n");
  latency();
  loopbackLatency();
  callTimes();
  return 0;
}

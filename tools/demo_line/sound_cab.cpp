#include "demo_line/sound_cab.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace vesk::demo {

using namespace dsp;

namespace {

// Air escaping through a valve: band-passed noise with an attack and an exponential fall (tau, s).
Samples puff(Rng& rng, double length, double hz, double q, double tau) {
  Samples s = coloredNoise(rng, frames(length), Biquad::bandPass(hz, q), 0.3);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    s[i] *= static_cast<float>(std::min(1.0, t / 0.01) * std::exp(-t / tau));
  }
  return s;
}

// A steady hiss with linear attack and release.
Samples hiss(Rng& rng, double length, double hz, double q, double attack, double release) {
  Samples s = coloredNoise(rng, frames(length), Biquad::bandPass(hz, q), 0.3);
  mix(s, coloredNoise(rng, frames(length), Biquad::highPass(5000), 0.08), 1.0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    s[i] *= static_cast<float>(trapezoid(seconds(static_cast<int>(i)), length, attack, release));
  }
  return s;
}

// A mechanical click: a very short noise burst ringing two small resonances of the handle and its detent.
void addClick(Samples& out, Rng& rng, double at, double hz1, double hz2, double gain) {
  const int start = frames(at);
  for (int i = 0; i < frames(0.08) && start + i < static_cast<int>(out.size()); ++i) {
    const double t = seconds(i);
    const double v = rng.noise() * decay(t, 0.0015) + 0.6 * decay(t, 0.012) * std::sin(2 * kPi * hz1 * t) +
                     0.4 * decay(t, 0.008) * std::sin(2 * kPi * hz2 * t);
    sampleAt(out, start + i) += static_cast<float>(gain * v);
  }
}

// A heavy low thud: a door closing home, a valve seating.
void addThud(Samples& out, Rng& rng, double at, double hz, double gain) {
  Biquad dull = Biquad::lowPass(900);
  const int start = frames(at);
  for (int i = 0; i < frames(0.4) && start + i < static_cast<int>(out.size()); ++i) {
    const double t = seconds(i);
    const double v = decay(t, 0.07) * (std::sin(2 * kPi * hz * t) + 0.5 * std::sin(2 * kPi * 2.1 * hz * t)) +
                     dull(rng.noise() * decay(t, 0.015));
    sampleAt(out, start + i) += static_cast<float>(gain * v);
  }
}

Sound brakeStep() {
  Rng rng("brake_step");
  Samples s = puff(rng, 0.45, 2500, 0.8, 0.1);
  fadeEdges(s, 0, 0.05);
  return {s, -6};
}

Sound brakeRelease() {
  Rng rng("brake_release");
  return {hiss(rng, 1.6, 3000, 0.6, 0.05, 0.9), -5};
}

Sound brakeApply() {
  Rng rng("brake_apply");
  Samples s(static_cast<std::size_t>(frames(0.65)), 0.0f);
  addClick(s, rng, 0.0, 1700, 3100, 1.0);
  mix(s, hiss(rng, 0.55, 2000, 0.9, 0.03, 0.3), 0.8, frames(0.06));
  return {s, -6};
}

// The controller's notch clicking in, and the latch following it a moment later.
Sound powerClick(bool apply) {
  Rng rng(apply ? "power_apply" : "power_release");
  Samples s(static_cast<std::size_t>(frames(0.25)), 0.0f);
  if (apply) {
    addClick(s, rng, 0.0, 1800, 3300, 1.0);
    addClick(s, rng, 0.025, 2400, 3900, 0.4);
    return {s, -4};
  }
  addClick(s, rng, 0.0, 1100, 2100, 1.0);
  return {s, -10};
}

Sound emergency() {
  Rng rng("emergency");
  const double length = 2.2;
  Samples s = coloredNoise(rng, frames(length), Biquad::lowPass(7000), 0.3);
  mix(s, coloredNoise(rng, frames(length), Biquad::bandPass(1200, 0.8), 0.25), 1.0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    s[i] *= static_cast<float>(std::min(1.0, t / 0.015) * (0.25 + 0.75 * std::exp(-t / 0.5)));
  }
  addThud(s, rng, 0.0, 60, 0.6);
  fadeEdges(s, 0, 0.6);
  return {s, -3};
}

// Looped valve air: band-passed noise fluttering gently.
Sound valveAir(const char* name, double hz, double q, double flutterHz, double depth, double peakDb) {
  Rng rng(name);
  const Loop loop(2.0);
  const double flutter = loop.snap(flutterHz);
  Samples s = loop.buffer();
  mix(s, coloredNoise(rng, static_cast<int>(s.size()), Biquad::bandPass(hz, q), 0.3), 1.0);
  mix(s, coloredNoise(rng, static_cast<int>(s.size()), Biquad::highPass(4000), 0.06), 1.0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    s[i] *= static_cast<float>(1 + depth * std::sin(2 * kPi * flutter * seconds(static_cast<int>(i))));
  }
  loop.close(s);
  return {s, peakDb};
}

// Brake shoes squealing: a high tone wavering slowly in pitch and loudness.
Sound squeal() {
  Rng rng("squeak");
  const Loop loop(2.0);
  const double f = loop.snap(3150), vibrato = loop.snap(2.5), swell = loop.snap(1.5);
  Samples s = coloredNoise(rng, static_cast<int>(loop.buffer().size()), Biquad::bandPass(f, 12), 0.05);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    const double phase = 2 * kPi * f * t + (40.0 / vibrato) * std::sin(2 * kPi * vibrato * t);
    const double amp = 0.7 + 0.3 * std::sin(2 * kPi * swell * t);
    s[i] += static_cast<float>(amp * (std::sin(phase) + 0.15 * std::sin(2 * phase)));
  }
  loop.close(s);
  return {s, -8};
}

// A pneumatic door engine: a swish whose pitch sweeps from `fromHz` to `toHz`.
Samples doorSwish(Rng& rng, double length, double fromHz, double toHz) {
  Samples s = noise(rng, frames(length));
  Biquad f = Biquad::bandPass(fromHz, 1.2);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    if (i % 64 == 0) f.retune(Biquad::bandPass(fromHz + (toHz - fromHz) * t / length, 1.2));
    s[i] = static_cast<float>(0.6 * f(s[i]) * trapezoid(t, length, 0.15, 0.5));
  }
  return s;
}

Sound doorOpen() {
  Rng rng("door_open");
  Samples s(static_cast<std::size_t>(frames(3.0)), 0.0f);
  const std::vector<Partial> chime = {{1, 1, 0.5}, {2, 0.3, 0.25}, {3, 0.1, 0.15}};
  addStrike(s, 0.0, 987.8, 0.5, chime);
  addStrike(s, 0.4, 784.0, 0.5, chime);
  mix(s, doorSwish(rng, 1.6, 1600, 800), 1.0, frames(0.95));
  addThud(s, rng, 2.5, 110, 0.25);
  fadeEdges(s, 0, 0.1);
  return {s, -4};
}

Sound doorClose() {
  Rng rng("door_close");
  Samples s(static_cast<std::size_t>(frames(3.0)), 0.0f);
  mix(s, doorSwish(rng, 1.7, 700, 1500), 1.0);
  addThud(s, rng, 1.85, 70, 1.0);
  fadeEdges(s, 0, 0.1);
  return {s, -3};
}

// The compressor: its motor's hum and a chug at every piston stroke. Rate (Hz of strokes) and hum pitch follow
// `rate(t)` and `hum(t)`, loudness `level(t)`.
struct Compressor {
  std::function<double(double)> rate, hum, level;
};

// A piston stroke: a low thump and a puff at the valves.
Samples chug(Rng& rng) {
  Samples s(static_cast<std::size_t>(frames(0.09)), 0.0f);
  Biquad valves = Biquad::bandPass(700, 1.0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    s[i] = static_cast<float>(decay(t, 0.03) * std::sin(2 * kPi * 75 * t) + 1.5 * valves(rng.noise() * decay(t, 0.02)));
  }
  normalise(s, 0);
  return s;
}

Samples compressorRun(Rng& rng, double length, const Compressor& c) {
  Samples s = coloredNoise(rng, frames(length), Biquad::lowPass(1500), 0.04);
  Samples strokes(s.size(), 0.0f);
  const Samples stroke = chug(rng);
  double humPhase = 0, strokePhase = 0;
  int count = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    humPhase += c.hum(t) / kRate;
    double h = 0;
    for (int k = 1; k <= 8; ++k) h += std::sin(2 * kPi * k * humPhase) / k;
    s[i] = static_cast<float>(c.level(t) * (s[i] + 0.15 * h));
    strokePhase += c.rate(t) / kRate;
    if (strokePhase >= 1) {
      strokePhase -= 1;
      mix(strokes, stroke, c.level(t) * (count++ % 2 == 0 ? 1.0 : 0.8), static_cast<int>(i));
    }
  }
  mix(s, strokes, 1.0);
  return s;
}

Sound compressorStart() {
  Rng rng("cp_start");
  Samples s = compressorRun(rng, 1.0,
                            {[](double t) { return 3 + 6 * std::min(1.0, t / 0.8); },
                             [](double t) { return 40 + 60 * std::min(1.0, t / 0.6); },
                             [](double t) { return 0.3 + 0.7 * std::min(1.0, t / 0.5); }});
  fadeEdges(s, 0.01, 0.02);
  return {s, -5};
}

Sound compressorLoop() {
  Rng rng("cp_run");
  const Loop loop(2.0);
  const double rate = loop.snap(9.0), hum = loop.snap(100.0);
  Samples s = loop.buffer();
  const Samples stroke = chug(rng);
  mix(s, coloredNoise(rng, static_cast<int>(s.size()), Biquad::lowPass(1500), 0.04), 1.0);
  addTone(s, 0, seconds(static_cast<int>(s.size())), hum, 0.15, sawHarmonics(8), {0, 0});
  const int strokes = static_cast<int>(std::lround(rate * loop.seconds()));
  loop.repeat([&](double shift) {
    for (int k = 0; k < strokes; ++k) mix(s, stroke, k % 2 == 0 ? 1.0 : 0.8, frames(shift + k / rate));
  });
  loop.close(s);
  return {s, -5};
}

Sound compressorEnd() {
  Rng rng("cp_end");
  Samples s = compressorRun(rng, 1.2,
                            {[](double t) { return 9 - 7 * std::min(1.0, t); },
                             [](double t) { return 100 - 70 * std::min(1.0, t); },
                             [](double t) { return std::max(0.0, 1 - t / 1.1); }});
  fadeEdges(s, 0, 0.05);
  return {s, -5};
}

}  // namespace

std::optional<Sound> cabSound(const std::string& stem) {
  static const std::map<std::string, std::function<Sound()>> recipes = {
      {"brake_step", brakeStep},
      {"brake_release", brakeRelease},
      {"brake_apply", brakeApply},
      {"power_apply", [] { return powerClick(true); }},
      {"power_release", [] { return powerClick(false); }},
      {"emergency", emergency},
      {"apply_exhaust", [] { return valveAir("apply_exhaust", 1800, 1.2, 7, 0.15, -7); }},
      {"apply_feed", [] { return valveAir("apply_feed", 900, 0.7, 3, 0.08, -9); }},
      {"squeak", squeal},
      {"door_open", doorOpen},
      {"door_close", doorClose},
      {"cp_start", compressorStart},
      {"cp_run", compressorLoop},
      {"cp_end", compressorEnd},
  };
  const auto it = recipes.find(stem);
  if (it == recipes.end()) return std::nullopt;
  return it->second();
}

}  // namespace vesk::demo

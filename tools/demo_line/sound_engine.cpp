#include "demo_line/sound_engine.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace vesk::demo {

using namespace dsp;

namespace {

// One steady tone of a whine: pitch, gain and harmonics (see addTone).
struct Layer {
  double hz;
  double gain;
  std::vector<double> harmonics;
};

// A looped whine: tones held at pitches with whole cycles in the loop, a breath of noise around `noiseHz`, and
// an optional slow swell (also whole cycles).
struct Whine {
  const char* name;
  std::vector<Layer> layers;
  double noiseHz = 800, noiseRms = 0.03;
  double swellHz = 0, swellDepth = 0;
  double peakDb = -6;
};

Sound whine(const Whine& w) {
  Rng rng(w.name);
  const Loop loop(2.0);
  Samples s = loop.buffer();
  const double length = seconds(static_cast<int>(s.size()));
  for (const Layer& l : w.layers) addTone(s, 0, length, loop.snap(l.hz), l.gain, l.harmonics, {0, 0});
  mix(s, coloredNoise(rng, static_cast<int>(s.size()), Biquad::bandPass(w.noiseHz, 1), w.noiseRms), 1.0);
  if (w.swellDepth > 0) {
    const double swell = loop.snap(w.swellHz);
    for (std::size_t i = 0; i < s.size(); ++i) {
      s[i] *= static_cast<float>(1 + w.swellDepth * std::sin(2 * kPi * swell * seconds(static_cast<int>(i))));
    }
  }
  loop.close(s);
  return {s, w.peakDb};
}

// A six-cylinder diesel: a knock at every firing rung through the block's resonances, the cylinders not quite
// equal (a lope at the crankshaft's rate), and exhaust noise pulsing with the firings.
class Diesel {
 public:
  explicit Diesel(Rng& rng) : rng_(rng), exhaust_(Biquad::bandPass(500, 0.7)) {}

  // The next sample at a firing rate (Hz), loudness and brightness (0 idle .. 1 full load).
  double next(double firingHz, double level, double load) {
    if (resonance_[0] == 0) tune(firingHz);
    phase_ += firingHz / kRate;
    if (phase_ >= 1) {
      phase_ -= 1;
      cylinder_ = (cylinder_ + 1) % 6;
      tune(firingHz);  // only at a firing, where every resonance is at a zero crossing
    }
    static constexpr double kCylinder[6] = {1.0, 0.8, 0.93, 0.75, 1.05, 0.88};
    const double p = phase_;
    const double knock =
        std::exp(-6 * p) * (std::sin(2 * kPi * resonance_[0] * p) + 0.45 * std::sin(2 * kPi * resonance_[1] * p) +
                            0.35 * load * std::sin(2 * kPi * resonance_[2] * p));
    const double puff = exhaust_(rng_.noise()) * std::min(1.0, p / 0.05) * std::exp(-4 * p) * (0.5 + load);
    return level * kCylinder[cylinder_] * (knock + puff);
  }

 private:
  // Resonances as whole multiples of the firing rate, so each knock ends where the next begins.
  void tune(double firingHz) {
    const double hz = std::max(firingHz, 1.0);
    resonance_[0] = std::max(1.0, std::round(180 / hz));
    resonance_[1] = std::max(2.0, std::round(650 / hz));
    resonance_[2] = std::max(3.0, std::round(1300 / hz));
  }

  Rng& rng_;
  Biquad exhaust_;
  double phase_ = 0;
  int cylinder_ = 0;
  double resonance_[3] = {0, 0, 0};
};

double firingRate(double rpm) { return rpm / 60.0 * 3.0; }  // six cylinders, four-stroke

// A diesel held at `rpm`, looped: the crankshaft turns a whole number of times in the loop.
Sound dieselLoop(const char* name, double rpm, double load, double peakDb) {
  Rng rng(name);
  const Loop loop(2.0);
  const double firing = 6 * loop.snap(firingRate(rpm) / 6);
  Samples s = loop.buffer();
  Diesel engine(rng);
  for (float& v : s) v = static_cast<float>(engine.next(firing, 1.0, load));
  loop.close(s);
  return {s, peakDb};
}

// Cranking, catching, racing up and settling to idle.
Sound engineStart() {
  Rng rng("engine_start");
  const double length = 4.0, catches = 1.5;
  Samples s(static_cast<std::size_t>(frames(length)), 0.0f);
  Diesel engine(rng);
  Biquad compression = Biquad::lowPass(300);
  double starterPhase = 0, crankPhase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    // The starter spins up, then lets go once the engine runs.
    const double starterLevel = std::min(1.0, t / 0.1) * std::clamp((catches + 0.2 - t) / 0.1, 0.0, 1.0);
    starterPhase += (150 + 110 * std::min(1.0, t / 0.3)) / kRate;
    double starter = 0;
    for (int k = 1; k <= 4; ++k) starter += std::sin(2 * kPi * k * starterPhase) / (k * k);
    // Compressions thump while cranking.
    crankPhase += 6.5 / kRate;
    const double frac = crankPhase - std::floor(crankPhase);
    const double thump = compression(rng.noise()) * std::exp(-frac * 10) * 3;
    double v = starterLevel * (0.25 * starter + thump);
    if (t >= catches) {
      const double u = t - catches;
      const double rpm = u < 0.6 ? 150 + 750 * u / 0.6 : 600 + 300 * std::exp(-(u - 0.6) / 0.4);
      v += engine.next(firingRate(rpm), std::min(1.0, u / 0.05), u < 0.8 ? 1.0 : 0.3);
    }
    s[i] = static_cast<float>(v);
  }
  fadeEdges(s, 0.01, 0.05);
  return {s, -4};
}

// The fuel cut: the engine runs down, its firings fading, and shudders to a stop.
Sound engineStop() {
  Rng rng("engine_stop");
  const double length = 2.0, stops = 1.6;
  Samples s(static_cast<std::size_t>(frames(length)), 0.0f);
  Diesel engine(rng);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    if (t >= stops) break;
    const double rpm = 600 * std::pow(1 - t / stops, 0.7);
    const double level = (0.4 + 0.6 * std::exp(-t / 0.3)) * std::min(1.0, rpm / 120);
    s[i] = static_cast<float>(engine.next(firingRate(rpm), level, 0.0));
  }
  const int at = frames(stops);
  for (int i = 0; at + i < static_cast<int>(s.size()); ++i) {
    const double t = seconds(i);
    sampleAt(s, at + i) += static_cast<float>(0.6 * decay(t, 0.08) * std::sin(2 * kPi * 35 * t));
  }
  fadeEdges(s, 0, 0.1);
  return {s, -5};
}

}  // namespace

std::optional<Sound> engineSound(const std::string& stem) {
  static const std::map<std::string, std::function<Sound()>> recipes = {
      {"motor_low",
       [] {
         return whine(
             {"motor_low", {{520, 1.0, {1, 0.35, 0.5, 0.15, 0.3, 0.1, 0.15}}, {1050, 0.25, {1}}, {1144, 0.08, {1}}}});
       }},
      {"motor_high",
       [] {
         return whine({"motor_high", {{900, 1.0, {1, 0.15, 0.05}}, {1900, 0.2, {1}}}, 1200});
       }},
      {"motor_brake",
       [] {
         return whine({"motor_brake", {{440, 1.0, squareHarmonics(9)}, {1400, 0.2, {1}}}, 800, 0.03, 8, 0.1, -7});
       }},
      {"motor",
       [] {
         return whine({"motor", {{680, 1.0, {1, 0.3, 0.1}}, {120, 0.35, sawHarmonics(6)}}, 3000});
       }},
      {"motor_coast",
       [] {
         return whine({"motor_coast", {{680, 1.0, {1, 0.1}}, {120, 0.1, sawHarmonics(3)}}, 3000, 0.02, 0, 0, -12});
       }},
      {"converter",
       [] {
         return whine({"converter", {{700, 1.0, {1, 0.2}}, {1050, 0.15, {1}}}, 700, 0.08, 0, 0, -8});
       }},
      {"gearbox",
       [] {
         return whine({"gearbox", {{1300, 1.0, {1, 0.2}}}, 1300, 0.05, 25, 0.3, -9});
       }},
      {"engine_idle", [] { return dieselLoop("engine_idle", 600, 0.0, -6); }},
      {"engine_idle2", [] { return dieselLoop("engine_idle2", 700, 0.1, -6); }},
      {"engine_run", [] { return dieselLoop("engine_run", 1200, 1.0, -5); }},
      {"engine_start", engineStart},
      {"engine_stop", engineStop},
  };
  const auto it = recipes.find(stem);
  if (it == recipes.end()) return std::nullopt;
  return it->second();
}

}  // namespace vesk::demo

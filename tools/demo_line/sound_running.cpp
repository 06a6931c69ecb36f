#include "demo_line/sound_running.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vesk::demo {

using namespace dsp;

namespace {

constexpr double kRailLength = 25.0;  // m

// Where the axles sit along the car (m from the leading axle) and how loud each is heard in the cab.
struct Axle {
  double at;
  double gain;
};

std::vector<Axle> carAxles(bool light) {
  const double axle = light ? 2.0 : 2.1;       // axle spacing within a bogie
  const double centres = light ? 14.0 : 13.8;  // bogie centre spacing
  return {{0, 1.0}, {axle, 0.9}, {centres, 0.6}, {centres + axle, 0.55}};
}

double bandSpeed(int band) { return (10.0 * band + 5.0) / 3.6; }  // m/s

// Seconds between two rail joints at the band's middle speed.
double jointPeriod(int band) { return kRailLength / bandSpeed(band); }

// One wheel striking a rail joint: a sharp metallic tick over a short low thud. `weight` deepens the thud.
Samples wheelClick(Rng& rng, bool light, double weight) {
  Samples s(static_cast<std::size_t>(frames(weight > 1 ? 0.35 : 0.12)), 0.0f);
  Biquad tickFilter = Biquad::bandPass(light ? 3000 : 2400, 1.0);
  const double thudHz = (light ? 120.0 : 95.0) / weight;
  const double ringHz = light ? 1400.0 : 1150.0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    const double tick = tickFilter(rng.noise() * decay(t, 0.004));
    const double thud = (light ? 0.45 : 0.7) * weight * decay(t, 0.025 * weight) * std::sin(2 * kPi * thudHz * t);
    const double ring = 0.15 * decay(t, 0.03 * weight) * std::sin(2 * kPi * ringHz * t);
    s[i] = static_cast<float>(4.0 * tick + thud + ring);
  }
  normalise(s, 0.0);
  return s;
}

// Creaking of a car barely moving: bursts of tiny ticks through a resonance, slowing as they go.
void addCreak(Samples& out, Rng& rng, double at, double hz) {
  Biquad body = Biquad::bandPass(hz, 5);
  const int start = frames(at);
  const int length = frames(0.35);
  double phase = 0;
  for (int i = 0; i < length && start + i < static_cast<int>(out.size()); ++i) {
    const double t = seconds(i);
    phase += (55.0 - 50.0 * t) / kRate;
    double impulse = 0;
    if (phase >= 1) {
      phase -= 1;
      impulse = rng.noise();
    }
    sampleAt(out, start + i) += static_cast<float>(trapezoid(t, 0.35, 0.05, 0.15) * body(impulse + 0.05 * rng.noise()));
  }
}

Sound creaking() {
  Rng rng("run0");
  const Loop loop(3.0);
  Samples s = coloredNoise(rng, static_cast<int>(loop.buffer().size()), Biquad::lowPass(70), 0.02);
  addCreak(s, rng, 0.6, 820);
  addCreak(s, rng, 1.9, 640);
  loop.close(s);
  return {s, -32.0};
}

}  // namespace

Sound runningSound(int band, bool light) {
  if (band <= 0) return creaking();
  Rng rng("run" + std::to_string(band) + (light ? "light" : ""));
  const double speed = bandSpeed(band);
  const double period = jointPeriod(band);
  const int joints = std::max(1, static_cast<int>(std::lround(2.5 / period)));
  const Loop loop(joints * period);
  const int n = static_cast<int>(loop.buffer().size());
  const double p = band;

  // Rumble: low body, a middle roar and, at speed, a high hiss; each grows with the band.
  Samples s = coloredNoise(rng, n, Biquad::lowPass(100 + 45 * p, 0.8), 0.08 + 0.02 * p);
  mix(s, coloredNoise(rng, n, Biquad::bandPass(300 + 60 * p, 0.9), 0.02 + 0.012 * p), 1.0);
  mix(s, coloredNoise(rng, n, Biquad::highPass(2500), 0.003 * p * p / 12.0), 1.0);
  // The wheels' turning swells the rumble a little, once per turn (0.86 m wheels).
  const double turn = loop.snap(speed / (kPi * 0.86));
  for (int i = 0; i < n; ++i) {
    sampleAt(s, i) *= static_cast<float>(1 + 0.2 * std::sin(2 * kPi * turn * seconds(i)));
  }

  const Samples click = wheelClick(rng, light, 1.0);
  const double clickGain = 0.8 + 0.15 * p;
  const double jointSpacing = loop.seconds() / joints;
  for (int k = -1; k <= joints; ++k) {
    for (const Axle& a : carAxles(light)) {
      mix(s, click, clickGain * a.gain, frames(k * jointSpacing + a.at / speed));
    }
  }
  loop.close(s);
  return {s, -18.0 + 1.2 * p};
}

Sound pointsSound(bool fast, bool light) {
  Rng rng(std::string(fast ? "points fast" : "points slow") + (light ? "light" : ""));
  const double speed = (fast ? 90.0 : 20.0) / 3.6;
  // Where each wheel strikes (m from the first): joints at the switch toe and heel, the frog's gap and its end.
  const std::vector<Axle> features =
      fast ? std::vector<Axle>{{0, 0.5}, {9, 0.6}, {14, 1.0}, {17, 0.7}} : std::vector<Axle>{{0, 1.0}, {3, 0.6}};
  std::vector<Axle> axles = carAxles(light);
  if (fast) {
    for (const Axle& a : carAxles(light)) axles.push_back({a.at + 20, a.gain * 0.8});
  }
  const Samples clack = wheelClick(rng, light, fast ? 1.0 : 1.8);
  double last = 0;
  for (const Axle& a : axles) last = std::max(last, a.at);
  const double length = (last + features.back().at) / speed + 0.5;
  Samples s = coloredNoise(rng, frames(length), Biquad::lowPass(fast ? 500 : 150), fast ? 0.05 : 0.02);
  for (const Axle& a : axles) {
    for (const Axle& f : features) mix(s, clack, a.gain * f.gain, frames(0.05 + (a.at + f.at) / speed));
  }
  fadeEdges(s, 0.05, 0.2);
  return {s, -4.0};
}

}  // namespace vesk::demo

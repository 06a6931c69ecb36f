#include "demo_line/sound_route.h"

#include <cmath>
#include <functional>
#include <map>
#include <utility>

namespace vesk::demo {

using namespace dsp;

namespace {

double noteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// One distant talker: a voiced buzz and breath through two formants that change with every syllable, in
// bursts of syllables separated by pauses.
Samples talker(Rng& rng, int count) {
  Samples s(static_cast<std::size_t>(count), 0.0f);
  const double pitch = 110 + 110 * rng.uniform();
  Biquad f1 = Biquad::bandPass(600, 4), f2 = Biquad::bandPass(1500, 5);
  double phase = 0, t = 0.3 * rng.uniform();
  while (t < seconds(count)) {
    const int syllables = 3 + static_cast<int>(rng.uniform() * 6);
    for (int k = 0; k < syllables; ++k) {
      const double length = 0.12 + 0.13 * rng.uniform();
      f1.retune(Biquad::bandPass(450 + 400 * rng.uniform(), 4));
      f2.retune(Biquad::bandPass(1100 + 900 * rng.uniform(), 5));
      const int start = frames(t);
      for (int i = 0; i < frames(length) && start + i < count; ++i) {
        const double u = seconds(i);
        phase += pitch * (1.1 - 0.2 * u / length) / kRate;
        const double source = 0.6 * (2 * (phase - std::floor(phase)) - 1) + 0.4 * rng.noise();
        const double env = trapezoid(u, length, 0.03, 0.06);
        sampleAt(s, start + i) = static_cast<float>(env * (f1(source) + 0.6 * f2(source)));
      }
      t += length + 0.02 + 0.08 * rng.uniform();
    }
    t += 0.3 + 0.7 * rng.uniform();
  }
  filter(s, Biquad::lowPass(2500));
  return s;
}

Sound platform() {
  Rng rng("platform");
  const Loop loop(4.0);
  const int n = static_cast<int>(loop.buffer().size());
  Samples s = coloredNoise(rng, n, Biquad::lowPass(300), 0.05);
  for (int v = 0; v < 6; ++v) mix(s, talker(rng, n), 0.5 + 0.5 * rng.uniform());
  // Footsteps passing now and then.
  Biquad heel = Biquad::bandPass(1200, 1.5);
  for (double t = 0.3; t < seconds(n) - 0.1; t += 0.5 + 0.1 * rng.uniform()) {
    const int start = frames(t);
    for (int i = 0; i < frames(0.08) && start + i < n; ++i) {
      const double u = seconds(i);
      const double step = heel(rng.noise() * decay(u, 0.01)) + 0.5 * decay(u, 0.02) * std::sin(2 * kPi * 90 * u);
      sampleAt(s, start + i) += static_cast<float>(0.4 * step);
    }
  }
  loop.close(s);
  return {s, -10};
}

// "Kan, kan": a gong struck twice a second, alternating between two pitches.
Sound crossingBell() {
  const Loop loop(1.0);
  const std::vector<Partial> gong = {{1, 1, 0.3}, {2.4, 0.5, 0.12}, {3.9, 0.3, 0.06}, {5.2, 0.15, 0.04}};
  Samples s = loop.buffer();
  loop.repeat([&](double shift) {
    addStrike(s, shift, 720, 1.0, gong);
    addStrike(s, shift + 0.5, 640, 1.0, gong);
  });
  loop.close(s);
  return {s, -4};
}

// A steel girder bridge: a hollow resonant rumble, drummed by the cross beams passing under the wheels.
Sound bridge() {
  Rng rng("bridge");
  const Loop loop(2.0);
  const int n = static_cast<int>(loop.buffer().size());
  Samples s = coloredNoise(rng, n, Biquad::bandPass(110, 4), 0.25);
  mix(s, coloredNoise(rng, n, Biquad::bandPass(230, 3), 0.12), 1.0);
  Samples hit(static_cast<std::size_t>(frames(0.3)), 0.0f);
  Biquad dull = Biquad::lowPass(600);
  for (std::size_t i = 0; i < hit.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    hit[i] = static_cast<float>(decay(t, 0.06) * (std::sin(2 * kPi * 85 * t) + 0.6 * std::sin(2 * kPi * 160 * t)) +
                                dull(rng.noise() * decay(t, 0.01)));
  }
  const int hits = 16;
  loop.repeat([&](double shift) {
    for (int k = 0; k < hits; ++k) {
      const double at = shift + k * loop.seconds() / hits;
      mix(s, hit, k % 2 == 0 ? 0.8 : 0.5, frames(at));
      if (k % 4 == 0) addStrike(s, at, 410, 0.08, {{1, 1, 0.4}, {2.7, 0.4, 0.2}});
    }
  });
  loop.close(s);
  return {s, -6};
}

// The roar in a tunnel: low, heavy noise swelling slowly, with the air's hiss above.
Sound tunnel() {
  Rng rng("tunnel");
  const Loop loop(4.0);
  const int n = static_cast<int>(loop.buffer().size());
  Samples s = coloredNoise(rng, n, Biquad::lowPass(350), 0.3);
  mix(s, coloredNoise(rng, n, Biquad::bandPass(900, 0.7), 0.12), 1.0);
  mix(s, coloredNoise(rng, n, Biquad::highPass(3000), 0.03), 1.0);
  const double slow = loop.snap(0.5), slower = loop.snap(0.75);
  for (int i = 0; i < n; ++i) {
    const double t = seconds(i);
    s[static_cast<std::size_t>(i)] *=
        static_cast<float>(1 + 0.1 * std::sin(2 * kPi * slow * t) + 0.05 * std::sin(2 * kPi * slower * t));
  }
  loop.close(s);
  return {s, -5};
}

// A bright brass fanfare rising over four notes, the last one held as a chord.
Sound titleJingle() {
  Samples s(static_cast<std::size_t>(frames(3.0)), 0.0f);
  const std::vector<double> brass = sawHarmonics(10);
  const int notes[4] = {72, 76, 79, 84};
  for (int k = 0; k < 3; ++k) addTone(s, 0.25 * k, 0.22, noteHz(notes[k]), 1.0, brass, {0.03, 0.05});
  for (int m : {84, 79, 76}) addTone(s, 0.75, 2.2, noteHz(m), m == 84 ? 1.0 : 0.5, brass, {0.03, 0.8});
  fadeEdges(s, 0, 0.05);
  return {s, -3};
}

Sound startChime() {
  Samples s(static_cast<std::size_t>(frames(1.5)), 0.0f);
  const std::vector<Partial> bell = {{1, 1, 0.4}, {2, 0.4, 0.2}, {3, 0.2, 0.1}, {4.2, 0.1, 0.08}};
  addStrike(s, 0, noteHz(79), 1.0, bell);
  addStrike(s, 0.15, noteHz(84), 1.0, bell);
  fadeEdges(s, 0, 0.4);
  return {s, -4};
}

}  // namespace

std::optional<Sound> routeSound(const std::string& stem) {
  static const std::map<std::string, std::function<Sound()>> recipes = {
      {"platform", platform}, {"crossing", crossingBell}, {"bridge", bridge}, {"tunnel", tunnel}};
  const auto it = recipes.find(stem);
  if (it == recipes.end()) return std::nullopt;
  return it->second();
}

std::optional<Sound> titleSound(const std::string& stem) {
  if (stem == "28803") return titleJingle();
  if (stem == "start") return startChime();
  return std::nullopt;
}

Samples announcementChime() {
  Samples s(static_cast<std::size_t>(frames(1.5)), 0.0f);
  const std::vector<Partial> vibes = {{1, 1, 0.6}, {2, 0.3, 0.3}, {3, 0.1, 0.2}};
  addStrike(s, 0, noteHz(79), 1.0, vibes);
  addStrike(s, 0.45, noteHz(76), 1.0, vibes);
  fadeEdges(s, 0, 0.3);
  normalise(s, -6);
  return s;
}

Samples departureMelody() {
  // (midi note, eighths); 0 rests. Eighths are 0.25 s: 32 of them fill 8 s.
  const std::pair<int, int> melody[] = {{76, 2}, {79, 2}, {84, 2}, {83, 1}, {81, 1}, {79, 2}, {76, 2}, {77, 2},
                                        {74, 2}, {76, 2}, {79, 2}, {81, 2}, {83, 2}, {84, 6}, {0, 2}};
  const int bass[8] = {48, 45, 43, 41, 45, 43, 48, 48};  // one every four eighths
  const std::vector<Partial> piano = {{1, 1, 0.6}, {2, 0.4, 0.3}, {3, 0.15, 0.2}, {4, 0.08, 0.1}};
  Samples s(static_cast<std::size_t>(frames(8.0)), 0.0f);
  int eighth = 0;
  for (const auto& [note, eighths] : melody) {
    if (note != 0) addStrike(s, 0.25 * eighth, noteHz(note), 0.8, piano);
    eighth += eighths;
  }
  for (int k = 0; k < 8; ++k) addStrike(s, 1.0 * k, noteHz(bass[k]), 0.5, {{1, 1, 0.8}, {2, 0.3, 0.4}});
  fadeEdges(s, 0, 1.0);
  normalise(s, -6);
  return s;
}

}  // namespace vesk::demo

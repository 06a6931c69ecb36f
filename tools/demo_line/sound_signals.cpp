#include "demo_line/sound_signals.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace vesk::demo {

using namespace dsp;

namespace {

// A small electric gong's inharmonic partials, and a soft chime's nearly pure ones.
const std::vector<Partial> kGong = {{1, 1, 0.25}, {2.76, 0.5, 0.12}, {5.4, 0.25, 0.06}};
const std::vector<Partial> kSoftChime = {{1, 1, 0.35}, {2, 0.2, 0.15}, {3, 0.05, 0.1}};

// A looped ringer: `strikes` evenly spaced blows on a bell of `hz` per loop.
Samples ringer(const Loop& loop, int strikes, double hz, const std::vector<Partial>& partials) {
  Samples s = loop.buffer();
  loop.repeat([&](double shift) {
    for (int k = 0; k < strikes; ++k) addStrike(s, shift + k * loop.seconds() / strikes, hz, 1.0, partials);
  });
  return s;
}

Sound atsBell() {
  const Loop loop(1.0);
  Samples s = ringer(loop, 16, 1500, kGong);
  loop.close(s);
  return {s, -3};
}

// Two soft tones taking turns.
Sound atsChime() {
  const Loop loop(1.2);
  Samples s = loop.buffer();
  loop.repeat([&](double shift) {
    for (int k = 0; k < 4; ++k) addStrike(s, shift + 0.3 * k, k % 2 == 0 ? 1318.5 : 1046.5, 1.0, kSoftChime);
  });
  loop.close(s);
  return {s, -6};
}

Sound atsConfirm() {
  Samples s(static_cast<std::size_t>(frames(1.0)), 0.0f);
  addStrike(s, 0, 1760, 1.0, {{1, 1, 0.3}, {2.7, 0.3, 0.1}});
  fadeEdges(s, 0, 0.1);
  return {s, -6};
}

Sound atcDing() {
  Samples s(static_cast<std::size_t>(frames(0.4)), 0.0f);
  for (double at : {0.02, 0.16}) addTone(s, at, 0.08, 1200, 1.0, squareHarmonics(5), {0.004, 0.01});
  return {s, -6};
}

// The vigilance ringer: a bell hammered by a buzzer, over the buzz itself.
Sound vigilanceRinger() {
  const Loop loop(1.0);
  Samples s = ringer(loop, 25, 950, {{1, 1, 0.08}, {2.3, 0.6, 0.05}, {4.1, 0.3, 0.03}});
  addTone(s, 0, seconds(static_cast<int>(s.size())), loop.snap(100), 0.3, squareHarmonics(15), {0, 0});
  loop.close(s);
  return {s, -3};
}

Sound stopWarning() {
  const Loop loop(2.0);
  Samples s = loop.buffer();
  const std::vector<Partial> soft = {{1, 1, 0.5}, {2, 0.15, 0.2}};
  loop.repeat([&](double shift) {
    addStrike(s, shift, 784.0, 1.0, soft);
    addStrike(s, shift + 0.4, 659.3, 1.0, soft);
  });
  loop.close(s);
  return {s, -8};
}

// A buzzer: a harsh sawtooth with its metal plate's resonance brought out.
Sound buzzer() {
  const Loop loop(1.0);
  Samples tone = loop.buffer();
  addTone(tone, 0, seconds(static_cast<int>(tone.size())), loop.snap(150), 1.0, sawHarmonics(60), {0, 0});
  Samples s = tone;
  Samples plate = tone;
  filter(plate, Biquad::bandPass(1100, 2));
  mix(s, plate, 2.0);
  loop.close(s);
  return {s, -6};
}

// The platform's departure buzzer: a square tone rattling at 30 Hz.
Sound departureSignal() {
  Samples s(static_cast<std::size_t>(frames(1.5)), 0.0f);
  addTone(s, 0, 1.5, 330, 1.0, squareHarmonics(25), {0.01, 0.05});
  for (std::size_t i = 0; i < s.size(); ++i) {
    s[i] *= static_cast<float>(0.75 + 0.25 * std::sin(2 * kPi * 30 * seconds(static_cast<int>(i))));
  }
  return {s, -4};
}

Sound atsWarn() {
  const Loop loop(1.0);
  Samples s = loop.buffer();
  loop.repeat([&](double shift) {
    for (double at : {0.0, 0.25}) addTone(s, shift + at, 0.15, 2000, 1.0, {1, 0, 0.2}, {0.005, 0.005});
  });
  loop.close(s);
  return {s, -8};
}

// An air horn: reedy trumpets, one per pitch, scooping up into pitch as the air gets going.
Samples airHorn(double length, const std::vector<double>& pitches) {
  Rng rng("air horn");
  Samples s = coloredNoise(rng, frames(length), Biquad::bandPass(1500, 1), 0.1);
  std::vector<double> phases(pitches.size(), 0.0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    const double scoop = 0.92 + 0.08 * std::min(1.0, t / 0.08);
    double v = s[i];
    for (std::size_t j = 0; j < pitches.size(); ++j) {
      phases[j] += pitches[j] * scoop / kRate;
      for (int k = 1; k <= 12 && k * pitches[j] < 0.45 * kRate; ++k) {
        v += std::sin(2 * kPi * k * phases[j]) / std::pow(k, 1.2);
      }
    }
    s[i] = static_cast<float>(v * trapezoid(t, length, 0.05, 0.12));
  }
  return s;
}

const std::vector<double> kElectricHorn = {1, 0.6, 0.45, 0.3, 0.2, 0.15, 0.1, 0.08};

Sound horn(bool diesel) {
  if (diesel) return {airHorn(1.0, {370, 466}), -3};
  Samples s(static_cast<std::size_t>(frames(1.0)), 0.0f);
  addTone(s, 0, 0.33, 660, 1.0, kElectricHorn, {0.02, 0.02});
  addTone(s, 0.32, 0.68, 554, 1.0, kElectricHorn, {0.02, 0.1});
  return {s, -3};
}

Sound longHorn(bool diesel) {
  if (diesel) return {airHorn(2.0, {311, 370}), -3};
  Samples s(static_cast<std::size_t>(frames(2.0)), 0.0f);
  addTone(s, 0, 2.0, 554, 1.0, kElectricHorn, {0.03, 0.15});
  addTone(s, 0, 2.0, 698.5, 0.8, kElectricHorn, {0.03, 0.15});
  return {s, -3};
}

// A whistle: a high pure tone with a little vibrato, over its breath.
Sound whistle() {
  Rng rng("horn2");
  const double length = 0.6, hz = 2200, vibrato = 6;
  Samples s = coloredNoise(rng, frames(length), Biquad::bandPass(hz, 6), 0.08);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = seconds(static_cast<int>(i));
    const double phase = 2 * kPi * hz * t + (12.0 / vibrato) * std::sin(2 * kPi * vibrato * t);
    s[i] = static_cast<float>((s[i] + std::sin(phase)) * trapezoid(t, length, 0.03, 0.1));
  }
  return {s, -4};
}

}  // namespace

std::optional<Sound> signalSound(const std::string& stem, bool diesel) {
  static const std::map<std::string, std::function<Sound(bool)>> recipes = {
      {"ats_bell", [](bool) { return atsBell(); }},        {"ats_chime", [](bool) { return atsChime(); }},
      {"ats_confirm", [](bool) { return atsConfirm(); }},  {"atc_ding", [](bool) { return atcDing(); }},
      {"eb_ring", [](bool) { return vigilanceRinger(); }}, {"stop_warning", [](bool) { return stopWarning(); }},
      {"buzzer", [](bool) { return buzzer(); }},           {"departure_signal", [](bool) { return departureSignal(); }},
      {"ats_warn", [](bool) { return atsWarn(); }},        {"horn", horn},
      {"horn2", [](bool) { return whistle(); }},           {"horn3", longHorn},
  };
  const auto it = recipes.find(stem);
  if (it == recipes.end()) return std::nullopt;
  return it->second(diesel);
}

}  // namespace vesk::demo

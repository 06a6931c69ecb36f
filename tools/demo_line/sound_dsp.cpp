#include "demo_line/sound_dsp.h"

#include <algorithm>
#include <cmath>

namespace vesk::demo::dsp {

int frames(double seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

double seconds(int frames) { return static_cast<double>(frames) / kRate; }

Rng::Rng(std::string_view seed) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (char c : seed) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  state_ = h != 0 ? h : 0x9e3779b9u;
}

double Rng::uniform() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<double>(state_ >> 8) / 16777216.0;
}

double Rng::noise() { return uniform() * 2.0 - 1.0; }

namespace {

struct Cookbook {
  double cosW, alpha;
};

Cookbook cookbook(double hz, double q) {
  const double w = 2.0 * kPi * std::clamp(hz, 10.0, 0.49 * kRate) / kRate;
  return {std::cos(w), std::sin(w) / (2.0 * q)};
}

}  // namespace

Biquad Biquad::lowPass(double hz, double q) {
  const auto [c, alpha] = cookbook(hz, q);
  const double a0 = 1 + alpha;
  Biquad f;
  f.b0_ = (1 - c) / 2 / a0;
  f.b1_ = (1 - c) / a0;
  f.b2_ = f.b0_;
  f.a1_ = -2 * c / a0;
  f.a2_ = (1 - alpha) / a0;
  return f;
}

Biquad Biquad::highPass(double hz, double q) {
  const auto [c, alpha] = cookbook(hz, q);
  const double a0 = 1 + alpha;
  Biquad f;
  f.b0_ = (1 + c) / 2 / a0;
  f.b1_ = -(1 + c) / a0;
  f.b2_ = f.b0_;
  f.a1_ = -2 * c / a0;
  f.a2_ = (1 - alpha) / a0;
  return f;
}

Biquad Biquad::bandPass(double hz, double q) {
  const auto [c, alpha] = cookbook(hz, q);
  const double a0 = 1 + alpha;
  Biquad f;
  f.b0_ = alpha / a0;
  f.b1_ = 0;
  f.b2_ = -alpha / a0;
  f.a1_ = -2 * c / a0;
  f.a2_ = (1 - alpha) / a0;
  return f;
}

void Biquad::retune(const Biquad& other) {
  b0_ = other.b0_;
  b1_ = other.b1_;
  b2_ = other.b2_;
  a1_ = other.a1_;
  a2_ = other.a2_;
}

double Biquad::operator()(double x) {
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return y;
}

Samples noise(Rng& rng, int count) {
  Samples s(static_cast<std::size_t>(std::max(count, 0)));
  for (float& v : s) v = static_cast<float>(rng.noise());
  return s;
}

void filter(Samples& s, Biquad f) {
  for (float& v : s) v = static_cast<float>(f(v));
}

double trapezoid(double t, double length, double attack, double release) {
  if (t < 0 || t >= length) return 0;
  double g = 1;
  if (attack > 0 && t < attack) g = t / attack;
  if (release > 0 && length - t < release) g = std::min(g, (length - t) / release);
  return g;
}

double decay(double t, double tau) {
  if (t < 0) return 0;
  return std::min(1.0, t / 0.002) * std::exp(-t / tau);
}

void addStrike(Samples& out, double at, double hz, double gain, const std::vector<Partial>& partials) {
  double longest = 0;
  for (const Partial& p : partials) longest = std::max(longest, p.tau);
  const int start = frames(at);
  const int end = std::min(static_cast<int>(out.size()), start + frames(6.9 * longest));
  for (int i = std::max(start, 0); i < end; ++i) {
    const double t = seconds(i - start);
    double v = 0;
    for (const Partial& p : partials) {
      if (p.ratio * hz >= 0.45 * kRate) continue;
      v += p.gain * decay(t, p.tau) * std::sin(2 * kPi * p.ratio * hz * t);
    }
    out[static_cast<std::size_t>(i)] += static_cast<float>(gain * v);
  }
}

void addTone(Samples& out, double at, double length, double hz, double gain, const std::vector<double>& harmonics,
             Shape shape) {
  const int start = frames(at);
  const int end = std::min(static_cast<int>(out.size()), start + frames(length));
  for (int i = std::max(start, 0); i < end; ++i) {
    const double t = seconds(i - start);
    const double env = trapezoid(t, length, shape.attack, shape.release);
    double v = 0;
    for (std::size_t k = 0; k < harmonics.size(); ++k) {
      const double f = hz * static_cast<double>(k + 1);
      if (f >= 0.45 * kRate) break;
      v += harmonics[k] * std::sin(2 * kPi * f * t);
    }
    out[static_cast<std::size_t>(i)] += static_cast<float>(gain * env * v);
  }
}

std::vector<double> sawHarmonics(int n) {
  std::vector<double> h;
  for (int k = 1; k <= n; ++k) h.push_back(1.0 / k);
  return h;
}

std::vector<double> squareHarmonics(int n) {
  std::vector<double> h;
  for (int k = 1; k <= n; ++k) h.push_back(k % 2 == 1 ? 1.0 / k : 0.0);
  return h;
}

void mix(Samples& out, const Samples& in, double gain, int at) {
  for (std::size_t i = 0; i < in.size(); ++i) {
    const long j = static_cast<long>(i) + at;
    if (j < 0) continue;
    if (j >= static_cast<long>(out.size())) break;
    out[static_cast<std::size_t>(j)] += static_cast<float>(gain * in[i]);
  }
}

void append(Samples& out, const Samples& tail, double gap) {
  out.resize(out.size() + static_cast<std::size_t>(frames(gap)), 0.0f);
  out.insert(out.end(), tail.begin(), tail.end());
}

void fadeEdges(Samples& s, double in, double out) {
  const int n = static_cast<int>(s.size());
  const int fin = std::min(frames(in), n);
  const int fout = std::min(frames(out), n);
  for (int i = 0; i < fin; ++i) s[static_cast<std::size_t>(i)] *= static_cast<float>(i) / static_cast<float>(fin);
  for (int i = 0; i < fout; ++i) {
    s[static_cast<std::size_t>(n - 1 - i)] *= static_cast<float>(i) / static_cast<float>(fout);
  }
}

double peakOf(const Samples& s) {
  double p = 0;
  for (float v : s) p = std::max(p, static_cast<double>(std::fabs(v)));
  return p;
}

double rmsOf(const Samples& s) {
  double sum = 0;
  for (float v : s) sum += static_cast<double>(v) * v;
  return s.empty() ? 0 : std::sqrt(sum / static_cast<double>(s.size()));
}

Samples coloredNoise(Rng& rng, int count, Biquad f, double rms) {
  Samples s = noise(rng, count);
  filter(s, f);
  const double now = rmsOf(s);
  if (now > 0) {
    for (float& v : s) v = static_cast<float>(v * rms / now);
  }
  return s;
}

void normalise(Samples& s, double peakDb) {
  const double p = peakOf(s);
  if (p <= 0) return;
  const double g = std::pow(10.0, peakDb / 20.0) / p;
  for (float& v : s) v = static_cast<float>(v * g);
}

Loop::Loop(double length)
    : frames_(std::max(dsp::frames(length), 64)), fade_(std::min(frames_ / 4, dsp::frames(0.25))) {}

double Loop::seconds() const { return dsp::seconds(frames_); }

double Loop::snap(double hz) const { return std::max(1.0, std::round(hz * seconds())) / seconds(); }

Samples Loop::buffer() const {
  return Samples(static_cast<std::size_t>(frames_) + static_cast<std::size_t>(fade_), 0.0f);
}

void Loop::close(Samples& s) const {
  s.resize(static_cast<std::size_t>(frames_) + static_cast<std::size_t>(fade_), 0.0f);
  for (int i = 0; i < fade_; ++i) {
    const float w = static_cast<float>(i) / static_cast<float>(fade_);
    auto& head = s[static_cast<std::size_t>(i)];
    head = head * w + sampleAt(s, frames_ + i) * (1.0f - w);
  }
  s.resize(static_cast<std::size_t>(frames_));
}

}  // namespace vesk::demo::dsp

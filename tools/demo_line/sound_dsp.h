// The small toolbox the demo sounds are built from: a seeded noise source, biquad filters, envelopes, tones and
// bell partials added into a buffer, and loops whose end folds back onto their start so they repeat without a
// click. Everything is mono at kRate and deterministic.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vesk::demo::dsp {

inline constexpr int kRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<float>;

// A sound before it is written: its samples and the peak level (dBFS) they are scaled to.
struct Sound {
  Samples samples;
  double peakDb = -3.0;
};

int frames(double seconds);
double seconds(int frames);
// The sample at a signed index (callers keep it in range).
inline float& sampleAt(Samples& s, int i) { return s[static_cast<std::size_t>(i)]; }

// A xorshift generator seeded from a name, so every sound gets its own noise and the same noise every run.
class Rng {
 public:
  explicit Rng(std::string_view seed);
  double uniform();  // [0, 1)
  double noise();    // [-1, 1)

 private:
  std::uint32_t state_;
};

// A second-order filter (the audio EQ cookbook's forms). The band-pass has 0 dB gain at its centre.
class Biquad {
 public:
  static Biquad lowPass(double hz, double q = 0.7071);
  static Biquad highPass(double hz, double q = 0.7071);
  static Biquad bandPass(double hz, double q);
  // Takes another filter's response and keeps this one's state: for sweeps.
  void retune(const Biquad& other);
  double operator()(double x);

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// White noise of `count` samples, and a buffer run through a filter.
Samples noise(Rng& rng, int count);
void filter(Samples& s, Biquad f);

// Envelopes of time t (s): a trapezoid with linear attack and release over `length`, and an exponential decay
// starting at 0 with a 2 ms rise so it starts without a click. Both are 0 outside the sound.
double trapezoid(double t, double length, double attack, double release);
double decay(double t, double tau);

// A bell, chime or struck partial set: partial ratio to the fundamental, relative gain and decay time (s).
struct Partial {
  double ratio = 1;
  double gain = 1;
  double tau = 0.5;
};
// Adds a struck note at time `at` (s); it rings until it has decayed by 60 dB or the buffer ends.
void addStrike(Samples& out, double at, double hz, double gain, const std::vector<Partial>& partials);

// Adds a held tone of harmonics (harmonics[k] is the gain of harmonic k + 1) from `at` for `length` seconds
// with linear attack and release; harmonics at or over 0.45 kRate are left out.
struct Shape {
  double attack = 0.01;
  double release = 0.05;
};
void addTone(Samples& out, double at, double length, double hz, double gain, const std::vector<double>& harmonics,
             Shape shape = {});

// Gains of the first n harmonics of a sawtooth (1/k) and of a square (odd 1/k).
std::vector<double> sawHarmonics(int n);
std::vector<double> squareHarmonics(int n);

// Adds `in` scaled by gain into `out` from sample `at`, clipped to out's length.
void mix(Samples& out, const Samples& in, double gain, int at = 0);
// Appends a copy of `tail` (after `gap` seconds of silence).
void append(Samples& out, const Samples& tail, double gap = 0);

// Fades the first and last stretches of a one-shot to silence.
void fadeEdges(Samples& s, double in, double out);
// Scales to a peak of `peakDb` dBFS (silence stays silence).
void normalise(Samples& s, double peakDb);
double peakOf(const Samples& s);
double rmsOf(const Samples& s);
// Filtered noise of `count` samples scaled to an RMS level: the body of hiss, rumble and roar.
Samples coloredNoise(Rng& rng, int count, Biquad f, double rms);

// A loop of whole frames. Its buffer carries a tail past the loop's end; close() crossfades that tail into the
// start, so the last sample runs on into the first. Periodic parts whose period divides the loop (snap()) and
// events repeated every seconds() come out unchanged; noise and filter start-up are blended over.
class Loop {
 public:
  explicit Loop(double seconds);
  int frames() const { return frames_; }
  double seconds() const;
  // The nearest frequency with a whole number of cycles in the loop.
  double snap(double hz) const;
  Samples buffer() const;
  void close(Samples& s) const;
  // Calls draw(shift) for the loop before, this one and the one after, so events near the seam ring across it.
  template <class Draw> void repeat(Draw draw) const {
    for (int k = -1; k <= 1; ++k) draw(k * seconds());
  }

 private:
  int frames_;
  int fade_;
};

}  // namespace vesk::demo::dsp

// Makes the two files that the piece ships with in "[]": the picture
// sketch5422493.jpg, a pencil landscape drawn by a fixed random sequence, and
// the chime r1.wav. Both come out byte for byte the same on every run.
//
//   make_assets <output directory>

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/WaveFile.h"

namespace {

constexpr int kPictureSize = 321;
constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------- randomness

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 4294967296.0;
  }
  double Range(double low, double high) { return low + (high - low) * Next(); }

 private:
  std::uint32_t state_;
};

double Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return (h ^ (h >> 16)) / 4294967296.0;
}

double Smooth(double t) { return t * t * (3 - 2 * t); }

// Smooth noise in [0, 1) on a unit lattice.
double ValueNoise(double x, double y, int seed) {
  int x0 = static_cast<int>(std::floor(x));
  int y0 = static_cast<int>(std::floor(y));
  double fx = Smooth(x - x0);
  double fy = Smooth(y - y0);
  double top = Hash(x0, y0, seed) * (1 - fx) + Hash(x0 + 1, y0, seed) * fx;
  double bottom = Hash(x0, y0 + 1, seed) * (1 - fx) + Hash(x0 + 1, y0 + 1, seed) * fx;
  return top * (1 - fy) + bottom * fy;
}

// Noise in about [-1, 1] with detail at several scales.
double Fractal(double x, double y, int seed) {
  double sum = 0;
  double amplitude = 1;
  for (int octave = 0; octave < 4; ++octave) {
    sum += amplitude * (ValueNoise(x, y, seed + octave) * 2 - 1);
    x *= 2.03;
    y *= 2.03;
    amplitude *= 0.5;
  }
  return sum / 1.875;
}

// ---------------------------------------------------------------- the sheet

struct Point {
  double x;
  double y;
};

struct Colour {
  double r;
  double g;
  double b;
};

// Paper with washes of colour and pencil graphite on it.
class Sheet {
 public:
  Sheet() : paper_(kPictureSize * kPictureSize), graphite_(kPictureSize * kPictureSize, 0.0) {
    for (int y = 0; y < kPictureSize; ++y) {
      for (int x = 0; x < kPictureSize; ++x) {
        double fibre = 3.0 * Fractal(x / 6.0, y / 40.0, 11) + 2.0 * (Hash(x, y, 12) - 0.5);
        double edge = std::min({x, y, kPictureSize - 1 - x, kPictureSize - 1 - y}) / 60.0;
        double light = 0.955 + 0.045 * Smooth(std::min(1.0, edge));
        paper_[Index(x, y)] = {(240 + fibre) * light, (234 + fibre) * light, (220 + fibre) * light};
      }
    }
  }

  // Tints the paper where weight (0 to 1) says, like a thin watercolour.
  template <typename Weight>
  void Wash(Colour tint, Weight weight) {
    for (int y = 0; y < kPictureSize; ++y) {
      for (int x = 0; x < kPictureSize; ++x) {
        double w = std::clamp(weight(x, y), 0.0, 1.0) * Unfinished(x, y);
        Colour& c = paper_[Index(x, y)];
        c = {c.r * (1 - w) + c.r * tint.r / 255 * w, c.g * (1 - w) + c.g * tint.g / 255 * w,
             c.b * (1 - w) + c.b * tint.b / 255 * w};
      }
    }
  }

  // A pencil line along a path: light where the pencil lands and lifts,
  // catching on the paper's tooth.
  void Stroke(const std::vector<Point>& path, double width, double darkness) {
    double length = 0;
    for (std::size_t i = 1; i < path.size(); ++i) length += Distance(path[i - 1], path[i]);
    if (length <= 0) return;
    constexpr double kStep = 0.35;
    double dab = darkness * kStep / (width * 1.6);
    double travelled = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
      double segment = Distance(path[i - 1], path[i]);
      for (double s = 0; s < segment; s += kStep) {
        double t = (travelled + s) / length;
        double pressure = std::pow(std::sin(kPi * std::clamp(t * 0.9 + 0.05, 0.0, 1.0)), 0.6);
        double along = s / segment;
        Dab({path[i - 1].x + (path[i].x - path[i - 1].x) * along, path[i - 1].y + (path[i].y - path[i - 1].y) * along},
            width, dab * pressure);
      }
      travelled += segment;
    }
  }

  std::vector<unsigned char> Rgb() const {
    const Colour graphite{62, 60, 68};
    std::vector<unsigned char> rgb;
    for (int y = 0; y < kPictureSize; ++y) {
      for (int x = 0; x < kPictureSize; ++x) {
        double d = std::min(1.0, graphite_[Index(x, y)]);
        const Colour& p = paper_[Index(x, y)];
        rgb.push_back(Byte(p.r * (1 - d) + graphite.r * d));
        rgb.push_back(Byte(p.g * (1 - d) + graphite.g * d));
        rgb.push_back(Byte(p.b * (1 - d) + graphite.b * d));
      }
    }
    return rgb;
  }

 private:
  static int Index(int x, int y) { return y * kPictureSize + x; }
  static double Distance(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }
  static unsigned char Byte(double v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 255.0))); }

  // The drawing thins out towards the sheet's edges, as a sketch left unfinished.
  static double Unfinished(int x, int y) {
    double edge = std::min({x, y, kPictureSize - 1 - x, kPictureSize - 1 - y}) + 6 * Fractal(x / 15.0, y / 15.0, 31);
    return Smooth(std::clamp((edge - 4) / 16.0, 0.0, 1.0));
  }

  static double Tooth(int x, int y) { return 0.45 + 0.55 * (0.6 * Hash(x, y, 21) + 0.4 * ValueNoise(x / 1.7, y / 1.7, 22)); }

  void Dab(Point at, double width, double alpha) {
    int reach = static_cast<int>(std::ceil(width * 1.8));
    for (int y = static_cast<int>(at.y) - reach; y <= static_cast<int>(at.y) + reach; ++y) {
      for (int x = static_cast<int>(at.x) - reach; x <= static_cast<int>(at.x) + reach; ++x) {
        if (x < 0 || y < 0 || x >= kPictureSize || y >= kPictureSize) continue;
        double d = std::hypot(x + 0.5 - at.x, y + 0.5 - at.y) / width;
        double cover = std::exp(-2.2 * d * d) * alpha * Tooth(x, y) * Unfinished(x, y);
        double& g = graphite_[Index(x, y)];
        g += (1 - g) * cover;
      }
    }
  }

  std::vector<Colour> paper_;
  std::vector<double> graphite_;
};

// ---------------------------------------------------------------- the scene

// A hand is never steady: the path drifts a little from where it was meant.
std::vector<Point> Wobbly(std::vector<Point> path, double amount, int seed) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    double t = static_cast<double>(i) / 7.0;
    path[i].x += amount * Fractal(t, 0.5, seed);
    path[i].y += amount * Fractal(t, 7.5, seed);
  }
  return path;
}

template <typename Curve>
std::vector<Point> Trace(double from, double to, double step, Curve curve) {
  std::vector<Point> path;
  for (double x = from; x <= to; x += step) path.push_back({x, curve(x)});
  return path;
}

double MountainRidge(double x) {
  return 158 - 52 * std::exp(-std::pow((x - 112) / 62, 2)) - 30 * std::exp(-std::pow((x - 246) / 42, 2)) +
         5 * Fractal(x / 22, 3.3, 41);
}

double HillLine(double x) { return 214 + 7 * std::sin(x / 37 + 1.2) + 3 * Fractal(x / 25, 1.1, 42); }

double ShoreLine(double x) { return 270 - 4 * std::sin(x / 50) + 2 * Fractal(x / 18, 2.2, 43); }

double LakeTop(double x) { return ShoreLine(x) - 36; }

// The lake's left end, a bank bulging towards the tree; 0 at its top, 1 at the shore.
Point LeftBank(double v) { return {112 - 18 * std::sin(kPi * v), LakeTop(112) + v * (ShoreLine(96) - LakeTop(112))}; }

// How far (x, y) lies on the lower side of a line, in pixels, softened into a
// wash's edge that runs a little unevenly.
double Below(double x, double y, double line, int seed) {
  return Smooth(std::clamp((y - line + 2.5 * Fractal(x / 9, y / 9, seed)) / 5 + 0.5, 0.0, 1.0));
}

double InLake(double x, double y) {
  double v = std::clamp((y - LakeTop(x)) / (ShoreLine(x) - LakeTop(x)), 0.0, 1.0);
  double bank = Smooth(std::clamp((x - LeftBank(v).x) / 5 + 0.5, 0.0, 1.0));
  return Below(x, y, LakeTop(x), 54) * (1 - Below(x, y, ShoreLine(x), 55)) * bank;
}

void DrawWashes(Sheet& sheet) {
  sheet.Wash({196, 214, 232}, [](int x, int y) { return 0.55 * (1 - y / 170.0) + 0.08 * Fractal(x / 40.0, y / 40.0, 51); });
  sheet.Wash({255, 214, 178}, [](int x, int y) {
    double d = std::hypot(x - 238.0, y - 86.0);
    return 0.5 * std::exp(-d * d / 900.0);
  });
  // The mountains fade into the haze towards their feet.
  sheet.Wash({186, 182, 214}, [](int x, int y) {
    double haze = std::clamp((y - MountainRidge(x)) / 90.0, 0.0, 1.0);
    return Below(x, y, MountainRidge(x), 56) * (1 - Below(x, y, HillLine(x), 57)) *
           (0.42 - 0.25 * haze + 0.08 * Fractal(x / 20.0, y / 20.0, 52));
  });
  sheet.Wash({192, 210, 174}, [](int x, int y) {
    return 0.42 * Below(x, y, HillLine(x), 58) * (1 - Below(x, y, ShoreLine(x), 59)) * (1 - InLake(x, y));
  });
  sheet.Wash({176, 204, 222}, [](int x, int y) { return 0.5 * InLake(x, y); });
  sheet.Wash({226, 204, 160}, [](int x, int y) {
    return (0.35 + 0.1 * Fractal(x / 30.0, y / 30.0, 53)) * Below(x, y, ShoreLine(x), 60);
  });
}

void DrawSun(Sheet& sheet) {
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<Point> circle;
    for (double a = 0.3 + pass; a <= 0.3 + pass + 2 * kPi + 0.4; a += 0.05) {
      circle.push_back({238 + 19 * std::cos(a), 86 + 19 * std::sin(a)});
    }
    sheet.Stroke(Wobbly(circle, 1.2, 60 + pass), 0.6, 0.35);
  }
}

void DrawBirds(Sheet& sheet) {
  const Point birds[] = {{150, 64}, {166, 56}, {173, 71}};
  for (int i = 0; i < 3; ++i) {
    double span = 5.0 - i;
    Point c = birds[i];
    sheet.Stroke({{c.x - span, c.y - 1.5}, {c.x - span * 0.5, c.y - 2.2}, {c.x, c.y}}, 0.45, 0.9);
    sheet.Stroke({{c.x, c.y}, {c.x + span * 0.5, c.y - 2.4}, {c.x + span, c.y - 1.2}}, 0.45, 0.9);
  }
}

void DrawMountains(Sheet& sheet, Random& random) {
  for (int pass = 0; pass < 2; ++pass) {
    sheet.Stroke(Wobbly(Trace(6 + pass * 4, 316, 1.5, MountainRidge), 0.8, 70 + pass), 0.55, 0.8 - pass * 0.35);
  }
  // Shade on the slopes turned from the sun, in short diagonal hatching.
  for (double x = 10; x < 312; x += 3.2) {
    double slope = MountainRidge(x + 2) - MountainRidge(x - 2);
    if (slope > -0.4) continue;
    double top = MountainRidge(x) + random.Range(1.5, 4);
    double length = random.Range(8, 20) * std::min(1.0, -slope / 3);
    sheet.Stroke({{x, top}, {x + length * 0.45, top + length}}, 0.45, 0.45);
  }
}

void DrawHills(Sheet& sheet, Random& random) {
  sheet.Stroke(Wobbly(Trace(8, 314, 1.5, HillLine), 0.7, 80), 0.6, 0.75);
  for (double x = 14; x < 300; x += random.Range(9, 20)) {
    double y = HillLine(x) + random.Range(4, 24);
    if (y > ShoreLine(x) - 40) continue;
    double length = random.Range(6, 16);
    sheet.Stroke({{x, y}, {x + length * 0.5, y + 0.4}, {x + length, y - 0.3}}, 0.4, 0.35);
  }
}

void DrawLake(Sheet& sheet, Random& random) {
  std::vector<Point> outline;
  for (double v = 1; v >= 0; v -= 0.05) outline.push_back(LeftBank(v));
  for (double x = 113; x <= 316; x += 1.5) outline.push_back({x, LakeTop(x)});
  sheet.Stroke(Wobbly(outline, 0.6, 90), 0.5, 0.6);
  sheet.Stroke(Wobbly(Trace(8, 316, 1.5, ShoreLine), 0.8, 91), 0.6, 0.8);
  for (int i = 0; i < 70; ++i) {
    double x = random.Range(118, 304);
    double depth = random.Next();
    double y = LakeTop(x) + 2 + 32 * depth;
    double length = random.Range(4, 22) * (0.5 + depth);
    sheet.Stroke({{x, y}, {x + length, y + random.Range(-0.3, 0.3)}}, 0.4, 0.25 + 0.3 * depth);
  }
}

void DrawBranch(Sheet& sheet, Random& random, Point from, double angle, double length, double width, int depth) {
  Point to{from.x + length * std::cos(angle), from.y - length * std::sin(angle)};
  Point bend{(from.x + to.x) / 2 + random.Range(-1, 1) * length * 0.08, (from.y + to.y) / 2};
  for (int pass = 0; pass < 1 + static_cast<int>(width); ++pass) {
    double offset = (pass - width / 2) * 0.7;
    sheet.Stroke({{from.x + offset, from.y}, {bend.x + offset * 0.8, bend.y}, {to.x + offset * 0.5, to.y}},
                 std::max(0.4, width * 0.35), 0.55 + 0.1 * depth);
  }
  if (depth == 0) return;
  int children = depth > 5 ? 2 : 2 + static_cast<int>(random.Next() * 1.6);
  for (int i = 0; i < children; ++i) {
    double spread = (i - (children - 1) / 2.0) * random.Range(0.35, 0.6);
    DrawBranch(sheet, random, to, angle + spread + random.Range(-0.12, 0.12), length * random.Range(0.66, 0.8),
               width * 0.7, depth - 1);
  }
}

void DrawFigure(Sheet& sheet) {
  const Point feet{214, ShoreLine(214) + 7};
  std::vector<Point> head;
  for (double a = 0; a <= 2 * kPi + 0.3; a += 0.3) head.push_back({feet.x + 2.1 * std::cos(a), feet.y - 18 + 2.3 * std::sin(a)});
  sheet.Stroke(head, 0.5, 1.0);
  // A long coat, a little wider at the hem.
  for (double dx = -2.2; dx <= 2.2; dx += 0.55) {
    sheet.Stroke({{feet.x + dx * 0.55, feet.y - 15}, {feet.x + dx, feet.y - 4.5}}, 0.45, 1.1);
  }
  sheet.Stroke({{feet.x - 1, feet.y - 4.5}, {feet.x - 1.3, feet.y}}, 0.45, 1.0);
  sheet.Stroke({{feet.x + 1, feet.y - 4.5}, {feet.x + 1.2, feet.y}}, 0.45, 1.0);
  // Its shadow on the shore, cast away from the low sun.
  sheet.Stroke({{feet.x - 1, feet.y + 0.6}, {feet.x - 9, feet.y + 2.2}}, 0.5, 0.4);
}

void DrawGrass(Sheet& sheet, Random& random) {
  for (int tuft = 0; tuft < 46; ++tuft) {
    double x = random.Range(8, 312);
    double y = ShoreLine(x) + random.Range(6, 44);
    int blades = 3 + static_cast<int>(random.Next() * 4);
    for (int b = 0; b < blades; ++b) {
      double lean = random.Range(-0.5, 0.5);
      double height = random.Range(4, 11) * (0.6 + (y - 270) / 60);
      Point base{x + random.Range(-3, 3), y};
      sheet.Stroke({base, {base.x + lean * height * 0.4, base.y - height * 0.6}, {base.x + lean * height, base.y - height}},
                   0.4, 0.6);
    }
  }
}

std::vector<unsigned char> DrawSketch() {
  Sheet sheet;
  Random random(5422493);
  DrawWashes(sheet);
  DrawSun(sheet);
  DrawBirds(sheet);
  DrawMountains(sheet, random);
  DrawHills(sheet, random);
  DrawLake(sheet, random);
  DrawBranch(sheet, random, {70, 292}, kPi / 2 + 0.05, 44, 3.2, 7);
  DrawFigure(sheet);
  DrawGrass(sheet, random);
  return sheet.Rgb();
}

// ---------------------------------------------------------------- the chime

// A small bell: a few inharmonic partials, the higher ones dying sooner, with
// a slow beat between two near-unison strikes of the lowest.
std::vector<std::int16_t> RingChime(int sampleRate) {
  struct Partial {
    double ratio;
    double level;
    double decaySeconds;
  };
  const Partial partials[] = {{1.0, 1.0, 0.42}, {1.0018, 0.5, 0.42}, {2.76, 0.32, 0.2}, {5.40, 0.12, 0.09}, {8.93, 0.05, 0.05}};
  constexpr double kFundamental = 1046.5;  // C6
  constexpr double kPeak = 0.22 * 32767;
  constexpr double kSeconds = 1.1;
  int count = static_cast<int>(kSeconds * sampleRate);
  std::vector<double> wave(count);
  for (int i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / sampleRate;
    double attack = Smooth(std::min(1.0, t / 0.004));
    double release = Smooth(std::min(1.0, (kSeconds - t) / 0.08));
    for (const Partial& p : partials) {
      wave[i] += p.level * std::exp(-t / p.decaySeconds) * std::sin(2 * kPi * kFundamental * p.ratio * t);
    }
    wave[i] *= attack * release;
  }
  double loudest = 0;
  for (double v : wave) loudest = std::max(loudest, std::fabs(v));
  std::vector<std::int16_t> samples;
  for (double v : wave) samples.push_back(static_cast<std::int16_t>(std::lround(v / loudest * kPeak)));
  return samples;
}

// ---------------------------------------------------------------- files

void WriteJpeg(const std::string& fileName, const std::vector<unsigned char>& rgb) {
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + fileName);
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);  // the codec's default: report and exit
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = kPictureSize;
  cinfo.image_height = kPictureSize;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 92, TRUE);
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(&rgb[cinfo.next_scanline * kPictureSize * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + fileName);
}

void WriteWave(const std::string& fileName, const std::vector<std::int16_t>& samples, int sampleRate) {
  std::vector<char> pcm;
  for (std::int16_t s : samples) {
    auto bits = static_cast<std::uint16_t>(s);
    pcm.push_back(static_cast<char>(bits & 0xFF));
    pcm.push_back(static_cast<char>(bits >> 8));
  }
  wave_file::WriteMonoWave16(fileName, static_cast<std::uint32_t>(sampleRate), pcm);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_assets <output directory>\n";
    return 2;
  }
  std::string directory = argv[1];
  constexpr int kSampleRate = 22050;
  try {
    WriteJpeg(directory + "/sketch5422493.jpg", DrawSketch());
    WriteWave(directory + "/r1.wav", RingChime(kSampleRate), kSampleRate);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}

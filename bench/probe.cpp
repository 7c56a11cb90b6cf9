// Starts a program and measures it from outside, as a user would see it:
//   - the time from just before it is spawned until its picture is on the
//     screen, polled on the root window with XGetImage;
//   - its CPU use while it idles and ticks, from its CPU-time clock;
//   - its peak resident memory (VmHWM) just before it is asked to quit. Not
//     wait4's ru_maxrss: that also counts the resident set of whoever spawned
//     the process, as it was at the exec.
//
// usage: bench_probe [--cpu-from S] [--cpu-to S] PICTURE LEFT TOP -- PROGRAM [ARG...]
// PICTURE is the JPEG the program shows with its top-left corner at (LEFT, TOP)
// of the screen. Prints one line of key=value pairs.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <jpeglib.h>

extern char** environ;

namespace {

constexpr double kPictureTimeoutSeconds = 15;
constexpr double kPollSeconds = 0.0005;
constexpr double kQuitTimeoutSeconds = 5;
// Colours may differ by rounding between decoders built differently.
constexpr int kColourTolerance = 2;

struct Rgb {
  int r, g, b;
};

struct Sample {
  int x, y;  // in the picture
  Rgb expected;
};

struct Options {
  double cpuFrom = 2;
  double cpuTo = 22;
  std::string picture;
  int left = 0, top = 0;
  std::vector<char*> command;
};

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec + now.tv_nsec / 1e9;
}

void SleepFor(double seconds) {
  if (seconds <= 0) return;
  timespec span{static_cast<time_t>(seconds), static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
  while (nanosleep(&span, &span) != 0) {
  }
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "bench_probe: %s\n", message.c_str());
  std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  int i = 1;
  for (; i + 1 < argc && std::strncmp(argv[i], "--cpu-", 6) == 0; i += 2) {
    double value = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--cpu-from") == 0) {
      options.cpuFrom = value;
    } else if (std::strcmp(argv[i], "--cpu-to") == 0) {
      options.cpuTo = value;
    } else {
      Fail(std::string("unknown option ") + argv[i]);
    }
  }
  if (argc - i < 5 || std::strcmp(argv[i + 3], "--") != 0 || options.cpuTo <= options.cpuFrom) {
    Fail("usage: bench_probe [--cpu-from S] [--cpu-to S] PICTURE LEFT TOP -- PROGRAM [ARG...]");
  }
  options.picture = argv[i];
  options.left = std::atoi(argv[i + 1]);
  options.top = std::atoi(argv[i + 2]);
  for (int k = i + 4; k < argc; ++k) options.command.push_back(argv[k]);
  options.command.push_back(nullptr);
  return options;
}

struct JpegErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};

void LeaveDecoder(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrorTrap*>(cinfo->err)->escape, 1); }

// What the screen must show at a few points spread over the picture, the last
// near its bottom row, which a decoder reaches last.
std::vector<Sample> ExpectedSamples(const std::string& fileName) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) Fail("cannot open " + fileName);
  jpeg_decompress_struct cinfo{};
  JpegErrorTrap trap;
  cinfo.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = LeaveDecoder;
  if (setjmp(trap.escape)) Fail("cannot decode " + fileName);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.dct_method = JDCT_FLOAT;
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  int width = static_cast<int>(cinfo.output_width);
  int height = static_cast<int>(cinfo.output_height);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels.data() + static_cast<std::size_t>(cinfo.output_scanline) * width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
  std::vector<Sample> samples;
  for (auto [fx, fy] : {std::pair{0.06, 0.06}, std::pair{0.5, 0.3}, std::pair{0.93, 0.94}}) {
    int x = static_cast<int>(fx * (width - 1));
    int y = static_cast<int>(fy * (height - 1));
    const unsigned char* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
    samples.push_back({x, y, {p[0], p[1], p[2]}});
  }
  return samples;
}

int Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = __builtin_ctzl(mask);
  return static_cast<int>((pixel & mask) >> shift);
}

bool ShowsColour(Display* display, int x, int y, Rgb expected) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return false;
  unsigned long pixel = XGetPixel(image, 0, 0);
  Rgb seen{Channel(pixel, image->red_mask), Channel(pixel, image->green_mask), Channel(pixel, image->blue_mask)};
  XDestroyImage(image);
  return std::abs(seen.r - expected.r) <= kColourTolerance && std::abs(seen.g - expected.g) <= kColourTolerance &&
         std::abs(seen.b - expected.b) <= kColourTolerance;
}

bool PictureShown(Display* display, const Options& options, const std::vector<Sample>& samples) {
  for (const Sample& sample : samples) {
    if (!ShowsColour(display, options.left + sample.x, options.top + sample.y, sample.expected)) return false;
  }
  return true;
}

// Looks without reaping, so that Stop still gets the exit status.
bool Exited(pid_t pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

// Time on the processor of the whole process, every thread that ever ran in it
// included, in seconds. The scheduler counts it in nanoseconds; /proc/PID/stat
// counts in ticks of 10 ms, too coarse for a program that uses a fraction of a
// percent.
std::optional<double> CpuSeconds(pid_t pid) {
  clockid_t clock{};
  timespec used{};
  if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &used) != 0) return std::nullopt;
  return used.tv_sec + used.tv_nsec / 1e9;
}

// The high-water mark of the resident set, in kilobytes.
std::optional<long> PeakKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return std::nullopt;
}

pid_t Spawn(const Options& options) {
  pid_t pid = 0;
  int error = posix_spawnp(&pid, options.command[0], nullptr, nullptr, options.command.data(), environ);
  if (error != 0) Fail(std::string("cannot start ") + options.command[0] + ": " + std::strerror(error));
  return pid;
}

// Asks the program to quit as a session end would, and gives its exit code.
int Stop(pid_t pid) {
  kill(pid, SIGTERM);
  double deadline = Now() + kQuitTimeoutSeconds;
  int status = 0;
  pid_t waited = 0;
  while ((waited = waitpid(pid, &status, WNOHANG)) == 0 && Now() < deadline) SleepFor(0.01);
  if (waited == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int main(int argc, char** argv) {
  Options options = ParseOptions(argc, argv);
  std::vector<Sample> samples = ExpectedSamples(options.picture);
  Display* display = XOpenDisplay(nullptr);
  if (!display) Fail("cannot open the display");
  fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
  // Nothing of the picture may show before the program runs.
  if (PictureShown(display, options, samples)) Fail("the picture is on the screen already");

  double start = Now();
  pid_t pid = Spawn(options);
  std::optional<double> pictureSeconds;
  while (Now() - start < kPictureTimeoutSeconds && !Exited(pid)) {
    if (PictureShown(display, options, samples)) {
      pictureSeconds = Now() - start;
      break;
    }
    SleepFor(kPollSeconds);
  }
  std::optional<double> cpuBefore, cpuAfter;
  if (pictureSeconds) {
    SleepFor(start + options.cpuFrom - Now());
    cpuBefore = CpuSeconds(pid);
    SleepFor(start + options.cpuTo - Now());
    cpuAfter = CpuSeconds(pid);
  }
  std::optional<long> peak = PeakKilobytes(pid);
  int exitCode = Stop(pid);
  XCloseDisplay(display);

  if (!pictureSeconds || !cpuBefore || !cpuAfter || !peak) {
    std::printf("picture_ms=NA peak_kb=NA cpu_percent=NA exit=%d\n", exitCode);
    return 1;
  }
  double cpuPercent = 100.0 * (*cpuAfter - *cpuBefore) / (options.cpuTo - options.cpuFrom);
  std::printf("picture_ms=%.1f peak_kb=%ld cpu_percent=%.3f exit=%d\n", *pictureSeconds * 1000.0, *peak,
              cpuPercent, exitCode);
  return 0;
}

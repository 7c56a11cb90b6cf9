// The least a program can do to look like the piece at rest: the same window at
// the same place, the same picture at (8, 8), and a three-pixel time text redrawn
// every 60 ms. No layout, no labels, no font lookup, no sound: the yardstick that
// bench/run.sh holds the piece against.

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <ctime>

#include <jpeglib.h>

namespace {

constexpr const char* kPictureFile = "[]/sketch5422493.jpg";
constexpr const char* kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
constexpr int kFontPixels = 3;
constexpr int kWindowLeft = 241;
constexpr int kWindowTop = 145;
constexpr int kClientSize = 337;
constexpr int kPictureLeft = 8;
constexpr int kPictureTop = 8;
constexpr int kTextLeft = 217;
constexpr int kTextTop = 168;
constexpr Uint64 kTickMilliseconds = 60;

struct JpegErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};

void LeaveDecoder(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrorTrap*>(cinfo->err)->escape, 1); }

// The whole picture as 24-bit RGB, decoded with the floating-point inverse DCT.
SDL_Surface* DecodePicture(const char* fileName) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (!file) return nullptr;
  jpeg_decompress_struct cinfo{};
  JpegErrorTrap trap;
  cinfo.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = LeaveDecoder;
  SDL_Surface* picture = nullptr;
  if (setjmp(trap.escape)) {
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    SDL_FreeSurface(picture);
    return nullptr;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.dct_method = JDCT_FLOAT;
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  picture = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(cinfo.output_width),
                                           static_cast<int>(cinfo.output_height), 24, SDL_PIXELFORMAT_RGB24);
  while (picture && cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = static_cast<JSAMPROW>(picture->pixels) + cinfo.output_scanline * picture->pitch;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  if (picture) jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
  return picture;
}

// The local time of day as a fraction of a day, the text the piece flickers.
void FormatTimeOfDay(char* text, std::size_t size) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
  std::snprintf(text, size, "%.15g", seconds / 86400.0);
}

class Scene {
 public:
  Scene(SDL_Window* window, SDL_Surface* picture, TTF_Font* font)
      : window_(window), picture_(picture), font_(font) {}

  void DrawAll() {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_Rect at{kPictureLeft, kPictureTop, 0, 0};
    SDL_BlitSurface(picture_, nullptr, surface, &at);
    SDL_UpdateWindowSurface(window_);
  }

  // Puts the picture back where the old text was, draws the new text, and
  // presents only that strip.
  void DrawTimeText() {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    char text[32];
    FormatTimeOfDay(text, sizeof text);
    SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font_, text, SDL_Color{255, 255, 255, 255});
    SDL_Rect strip{kTextLeft, kTextTop, SDL_max(lastWidth_, glyphs ? glyphs->w : 0), TTF_FontHeight(font_)};
    SDL_FillRect(surface, &strip, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_Rect source{strip.x - kPictureLeft, strip.y - kPictureTop, strip.w, strip.h};
    SDL_Rect under = strip;
    SDL_BlitSurface(picture_, &source, surface, &under);
    if (glyphs) {
      SDL_Rect at{kTextLeft, kTextTop, 0, 0};
      SDL_BlitSurface(glyphs, nullptr, surface, &at);
      lastWidth_ = glyphs->w;
      SDL_FreeSurface(glyphs);
    }
    SDL_Rect shown{0, 0, kClientSize, kClientSize};
    if (SDL_IntersectRect(&strip, &shown, &strip)) SDL_UpdateWindowSurfaceRects(window_, &strip, 1);
  }

 private:
  SDL_Window* window_;
  SDL_Surface* picture_;
  TTF_Font* font_;
  int lastWidth_ = 0;
};

// Sleeps in the event queue until the next tick is due; ends on a quit request.
void RunTicking(Scene& scene) {
  Uint64 due = SDL_GetTicks64() + kTickMilliseconds;
  for (;;) {
    Uint64 now = SDL_GetTicks64();
    if (now >= due) {
      scene.DrawTimeText();
      while (due <= now) due += kTickMilliseconds;
      continue;
    }
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, static_cast<int>(due - now))) continue;
    if (event.type == SDL_QUIT) return;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) scene.DrawAll();
  }
}

}  // namespace

int main() {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("", kWindowLeft, kWindowTop, kClientSize, kClientSize, 0);
  if (!window) {
    std::fprintf(stderr, "SDL_CreateWindow: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Surface* picture = DecodePicture(kPictureFile);
  if (!picture) {
    std::fprintf(stderr, "cannot decode %s\n", kPictureFile);
    return 1;
  }
  TTF_Font* font = TTF_Init() == 0 ? TTF_OpenFont(kFontFile, kFontPixels) : nullptr;
  if (!font) {
    std::fprintf(stderr, "cannot open %s: %s\n", kFontFile, TTF_GetError());
    return 1;
  }
  Scene scene(window, picture, font);
  scene.DrawAll();
  RunTicking(scene);
  TTF_CloseFont(font);
  TTF_Quit();
  SDL_FreeSurface(picture);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

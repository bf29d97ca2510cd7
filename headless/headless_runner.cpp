// The headless runner (it calls itself the headless harness in its messages):
// preloaded (LD_PRELOAD) into a program by the export, the tour without a
// display and the tests, never linked into one. It makes a whole program
// run unattended:
//
//   SDL_Flip       saves the surface, one frame, as
//                  HARNESS_PICTURES/frame-NNN.bmp (when that directory is
//                  given; frame-NNN.png when HARNESS_PICTURE_FORMAT is png),
//                  then flips as usual; HARNESS_PICTURES_FD=N gives the
//                  folder as an open directory descriptor instead (the
//                  export's way): there each PNG frame is a new file that
//                  appears whole, never written through a link planted at
//                  its name;
//   SDL_WaitEvent  never blocks: it hands out the next event of the script
//                  HARNESS_EVENTS (comma-separated key, keyup, quit, motion,
//                  button, active; repeated when used up; default "key");
//                  with HARNESS_EVENTS=real it is SDL's own wait on SDL's
//                  own queue;
//   HARNESS_QUEUE  "FLIP:NAME,NAME;FLIP:NAME": right after flip FLIP, the
//                  named events are pushed into SDL's queue with
//                  SDL_PushEvent, as if they arrived while the next picture
//                  is drawn (logged as "push NAME");
//   SDL_UpdateRect a picture shown again (after an expose): saved as
//                  HARNESS_PICTURES/shown-again-NNN, logged "update N";
//   time           returns HARNESS_TIME when it is set.
//
// It defines headless_runner_answers_waits, by which the programs know
// that a driver showing nothing (dummy) is fine: nobody needs to see it.
//
// Every flip and every event goes to HARNESS_LOG as "flip N" or
// "event NAME", one unbuffered write per line so a crash keeps the log.
// A program that waits 100000 times is stopped with exit status 3.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "pinned_time.h"
#include "png_picture.h"
#include "whole_file.h"

namespace {

constexpr long wait_limit = 100000;

int log_fd = -2;  // -2: not opened yet; -1: no log wanted
int flip_count = 0;
int update_count = 0;
bool inside_flip = false;
long wait_count = 0;
const char* script_next = nullptr;  // next event name in HARNESS_EVENTS

[[noreturn]] void harness_failure(int status, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::fputs("headless harness: ", stderr);
  std::vfprintf(stderr, format, args);
  std::fputc('\n', stderr);
  va_end(args);
  _exit(status);
}

void log_line(const char* format, ...) {
  if (log_fd == -2) {
    const char* path = std::getenv("HARNESS_LOG");
    log_fd = path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
    if (path && log_fd < 0) harness_failure(4, "cannot open the log %s", path);
  }
  if (log_fd < 0) return;
  char line[128];
  std::va_list args;
  va_start(args, format);
  int length = std::vsnprintf(line, sizeof line - 1, format, args);
  va_end(args);
  if (length < 0) return;
  if (length > static_cast<int>(sizeof line) - 2) length = sizeof line - 2;
  line[length++] = '\n';
  if (write(log_fd, line, static_cast<size_t>(length)) != length)
    harness_failure(4, "cannot write the log");
}

const char* event_script() {
  const char* script = std::getenv("HARNESS_EVENTS");
  return script && *script ? script : "key";
}

// Copies the next name of the script into `name` and advances, starting
// over at the end.
void next_event_name(char* name, std::size_t size) {
  if (script_next == nullptr || *script_next == '\0') script_next = event_script();
  const std::size_t length = std::strcspn(script_next, ",");
  if (length == 0 || length >= size) harness_failure(4, "bad event script \"%s\"", event_script());
  std::memcpy(name, script_next, length);
  name[length] = '\0';
  script_next += length;
  if (*script_next == ',') ++script_next;
}

void fill_event(SDL_Event* event, const char* name) {
  std::memset(event, 0, sizeof *event);
  if (std::strcmp(name, "key") == 0 || std::strcmp(name, "keyup") == 0) {
    const bool down = name[3] == '\0';
    event->key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event->key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event->key.keysym.sym = SDLK_SPACE;
    event->key.keysym.unicode = down ? ' ' : 0;
  } else if (std::strcmp(name, "quit") == 0) {
    event->quit.type = SDL_QUIT;
  } else if (std::strcmp(name, "motion") == 0) {
    event->motion.type = SDL_MOUSEMOTION;
    event->motion.x = 400;
    event->motion.y = 300;
    event->motion.xrel = 1;
  } else if (std::strcmp(name, "button") == 0) {
    event->button.type = SDL_MOUSEBUTTONDOWN;
    event->button.button = SDL_BUTTON_LEFT;
    event->button.state = SDL_PRESSED;
    event->button.x = 400;
    event->button.y = 300;
  } else if (std::strcmp(name, "active") == 0) {
    event->active.type = SDL_ACTIVEEVENT;
    event->active.gain = 1;
    event->active.state = SDL_APPACTIVE | SDL_APPINPUTFOCUS;
  } else if (std::strcmp(name, "hidden") == 0) {
    event->active.type = SDL_ACTIVEEVENT;
    event->active.gain = 0;
    event->active.state = SDL_APPACTIVE;
  } else if (std::strcmp(name, "expose") == 0) {
    event->expose.type = SDL_VIDEOEXPOSE;
  } else {
    harness_failure(4, "unknown event \"%s\" (key, keyup, quit, motion, button, active, hidden or expose)", name);
  }
}

bool real_waits() {
  const char* script = std::getenv("HARNESS_EVENTS");
  return script && std::strcmp(script, "real") == 0;
}

// The script name of an event that SDL's own wait returned.
void name_event(const SDL_Event& event, char* name, std::size_t size) {
  switch (event.type) {
    case SDL_KEYDOWN: std::snprintf(name, size, "key"); break;
    case SDL_KEYUP: std::snprintf(name, size, "keyup"); break;
    case SDL_QUIT: std::snprintf(name, size, "quit"); break;
    case SDL_MOUSEMOTION: std::snprintf(name, size, "motion"); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: std::snprintf(name, size, "button"); break;
    case SDL_ACTIVEEVENT: std::snprintf(name, size, event.active.gain ? "active" : "hidden"); break;
    case SDL_VIDEOEXPOSE: std::snprintf(name, size, "expose"); break;
    default: std::snprintf(name, size, "type%d", event.type); break;
  }
}

// Pushes the events of HARNESS_QUEUE's entries for flip `flip`, in order.
// Every entry is parsed at every flip, so a bad one fails at the first.
void queue_events(int flip) {
  const char* script = std::getenv("HARNESS_QUEUE");
  if (script == nullptr) return;
  const char* next = script;
  while (*next != '\0') {
    char* names = nullptr;
    const long at = std::strtol(next, &names, 10);
    if (names == next || *names != ':') harness_failure(4, "bad queue script \"%s\"", script);
    next = ++names;
    for (;;) {
      const std::size_t length = std::strcspn(next, ",;");
      char name[16];
      if (length == 0 || length >= sizeof name) harness_failure(4, "bad queue script \"%s\"", script);
      std::memcpy(name, next, length);
      name[length] = '\0';
      SDL_Event event;
      fill_event(&event, name);  // checks the name whichever flip it is for
      if (at == flip && SDL_PushEvent(&event) != 0)
        harness_failure(4, "cannot push %s: %s", name, SDL_GetError());
      if (at == flip) log_line("push %s", name);
      next += length;
      if (*next != ',') break;
      ++next;
    }
    if (*next == ';') ++next;
  }
}

// HARNESS_PICTURE_FORMAT: "bmp" (the default) or "png".
bool picture_format_is_png() {
  const char* format = std::getenv("HARNESS_PICTURE_FORMAT");
  if (format == nullptr || *format == '\0' || std::strcmp(format, "bmp") == 0) return false;
  if (std::strcmp(format, "png") == 0) return true;
  harness_failure(4, "unknown picture format \"%s\" (bmp or png)", format);
}

// HARNESS_PICTURES_FD: the folder as a descriptor, or -1 when not given.
int picture_folder() {
  const char* given = std::getenv("HARNESS_PICTURES_FD");
  if (given == nullptr) return -1;
  char* end = nullptr;
  const long fd = std::strtol(given, &end, 10);
  if (*given == '\0' || *end != '\0' || fd < 0 || fd > 65535 || fcntl(static_cast<int>(fd), F_GETFD) < 0)
    harness_failure(4, "HARNESS_PICTURES_FD=%s is no open descriptor", given);
  return static_cast<int>(fd);
}

// Saves a PNG picture into the folder `folder` as a whole file: never
// through a link planted at its name, and never half-written.
void save_into_folder(SDL_Surface* surface, int folder, const char* name) {
  WholeFile whole;
  if (!begin_whole_file(folder, name, whole)) harness_failure(4, "cannot save %s: %s", name, std::strerror(errno));
  std::FILE* file = fdopen(whole.fd, "wb");
  if (file == nullptr) harness_failure(4, "cannot save %s: %s", name, std::strerror(errno));
  char error[256];
  bool saved = write_png(surface, file, error, sizeof error);
  if (saved && !name_whole_file(whole, folder, name)) {
    saved = false;
    std::snprintf(error, sizeof error, "%s", std::strerror(errno));
  }
  if (std::fclose(file) != 0 && saved) {
    saved = false;
    std::snprintf(error, sizeof error, "%s", std::strerror(errno));
  }
  if (saved) return;
  abandon_whole_file(whole, folder, name);
  harness_failure(4, "cannot save %s: %s", name, error);
}

// Saves `surface` as <stem>-NNN.bmp or .png in HARNESS_PICTURES (or PNG
// only, in HARNESS_PICTURES_FD), when wanted.
void save_picture(SDL_Surface* surface, const char* stem, int number) {
  static const int folder = picture_folder();
  const char* directory = std::getenv("HARNESS_PICTURES");
  if (directory == nullptr && folder < 0) return;
  const bool png = picture_format_is_png();
  if (folder >= 0) {
    if (!png) harness_failure(4, "HARNESS_PICTURES_FD takes PNG pictures only");
    char name[64];
    std::snprintf(name, sizeof name, "%s-%03d.png", stem, number);
    save_into_folder(surface, folder, name);
    return;
  }
  char path[4096];
  std::snprintf(path, sizeof path, "%s/%s-%03d.%s", directory, stem, number, png ? "png" : "bmp");
  char error[256];
  if (png && !save_png(surface, path, error, sizeof error))
    harness_failure(4, "cannot save %s: %s", path, error);
  if (!png && SDL_SaveBMP(surface, path) != 0)
    harness_failure(4, "cannot save %s: %s", path, SDL_GetError());
}

}  // namespace

extern "C" {

int headless_runner_answers_waits() { return 1; }

int SDL_Flip(SDL_Surface* surface) {
  using Flip = int (*)(SDL_Surface*);
  static const auto real_flip = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "SDL_Flip"));
  if (real_flip == nullptr) harness_failure(4, "no SDL_Flip to forward to");

  save_picture(surface, "frame", ++flip_count);
  log_line("flip %d", flip_count);
  queue_events(flip_count);
  inside_flip = true;  // SDL's flip may update through SDL_UpdateRect
  const int result = real_flip(surface);
  inside_flip = false;
  return result;
}

void SDL_UpdateRect(SDL_Surface* surface, Sint32 x, Sint32 y, Uint32 w, Uint32 h) {
  using Update = void (*)(SDL_Surface*, Sint32, Sint32, Uint32, Uint32);
  static const auto real_update = reinterpret_cast<Update>(dlsym(RTLD_NEXT, "SDL_UpdateRect"));
  if (real_update == nullptr) harness_failure(4, "no SDL_UpdateRect to forward to");

  if (!inside_flip) {
    save_picture(surface, "shown-again", ++update_count);
    log_line("update %d", update_count);
  }
  real_update(surface, x, y, w, h);
}

int SDL_WaitEvent(SDL_Event* event) {
  if (++wait_count > wait_limit)
    harness_failure(3, "%ld calls of SDL_WaitEvent; the program never stops waiting", wait_limit);
  if (real_waits()) {
    using Wait = int (*)(SDL_Event*);
    static const auto real_wait = reinterpret_cast<Wait>(dlsym(RTLD_NEXT, "SDL_WaitEvent"));
    if (real_wait == nullptr) harness_failure(4, "no SDL_WaitEvent to forward to");
    const int result = real_wait(event);
    if (result == 1 && event != nullptr) {
      char name[16];
      name_event(*event, name, sizeof name);
      log_line("event %s", name);
    }
    return result;
  }
  // With no buffer SDL only reports that an event is ready: one always is.
  if (event == nullptr) return 1;
  char name[16];
  next_event_name(name, sizeof name);
  fill_event(event, name);
  log_line("event %s", name);
  return 1;
}

time_t time(time_t* result) noexcept { return pinned_time(result); }

}  // extern "C"

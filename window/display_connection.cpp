// One line and status 1 when the X server goes away or refuses a request.
#include "display_connection.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "program_failure.h"
#include "standard_streams.h"

#ifndef __EMSCRIPTEN__
#include <X11/Xlib.h>

namespace {

using GetErrorText = int (*)(Display*, int, char*, int);
GetErrorText get_error_text = nullptr;

const char* display_name() {
  const char* name = std::getenv("DISPLAY");
  return name != nullptr ? name : "";
}

// Xlib calls the handlers from inside its own calls, never from a signal,
// so stdio is safe here; exit() is not, as its atexit(SDL_Quit) would use
// the connection again.
[[noreturn]] void end_at_once() {
  flush_standard_output();
  _exit(1);
}

int connection_lost(Display*) {
  std::fprintf(stderr, "%s: lost the connection to the display \"%s\"\n", program_name, display_name());
  end_at_once();
}

int request_refused(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) {
    std::fprintf(stderr, "%s: the window was closed by another program on the display \"%s\"\n", program_name,
                 display_name());
  } else {
    char reason[160] = "";
    if (get_error_text != nullptr) get_error_text(display, error->error_code, reason, sizeof reason);
    std::fprintf(stderr, "%s: the display \"%s\" refused a request: %s\n", program_name, display_name(),
                 *reason ? reason : "X gives no reason");
  }
  end_at_once();
}

}  // namespace

void watch_display_connection() {
  // RTLD_NOLOAD: only the Xlib that SDL already uses; the handle is kept,
  // as the handlers live as long as the process.
  void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (xlib == nullptr) return;
  using SetIOErrorHandler = XIOErrorHandler (*)(XIOErrorHandler);
  using SetErrorHandler = XErrorHandler (*)(XErrorHandler);
  const auto set_io_error_handler = reinterpret_cast<SetIOErrorHandler>(dlsym(xlib, "XSetIOErrorHandler"));
  const auto set_error_handler = reinterpret_cast<SetErrorHandler>(dlsym(xlib, "XSetErrorHandler"));
  get_error_text = reinterpret_cast<GetErrorText>(dlsym(xlib, "XGetErrorText"));
  if (set_io_error_handler != nullptr) set_io_error_handler(connection_lost);
  if (set_error_handler != nullptr) set_error_handler(request_refused);
}

bool only_the_screen_is_missing(const char* display) {
  char server[256];
  std::snprintf(server, sizeof server, "%s", display != nullptr ? display : "");
  // ":1.5" names screen 5 of server ":1"; the screen follows the dot after
  // the last colon (a host name may hold dots of its own).
  char* colon = std::strrchr(server, ':');
  char* dot = colon != nullptr ? std::strchr(colon, '.') : nullptr;
  if (dot == nullptr) return false;
  *dot = '\0';
  void* xlib = dlopen("libX11.so.6", RTLD_LAZY);
  if (xlib == nullptr) return false;
  using OpenDisplay = Display* (*)(const char*);
  using CloseDisplay = int (*)(Display*);
  const auto open_display = reinterpret_cast<OpenDisplay>(dlsym(xlib, "XOpenDisplay"));
  const auto close_display = reinterpret_cast<CloseDisplay>(dlsym(xlib, "XCloseDisplay"));
  bool answers = false;
  if (open_display != nullptr && close_display != nullptr) {
    if (Display* connection = open_display(server)) {
      answers = true;
      close_display(connection);
    }
  }
  dlclose(xlib);
  return answers;
}

#else

void watch_display_connection() {}
bool only_the_screen_is_missing(const char*) { return false; }

#endif

// Xvfb on a free display, and key presses, close requests and screenshots
// through Xlib and XTEST.
#include "x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

extern char** environ;

namespace {

// ":N"; built by appending, which also keeps GCC 12's -Wrestrict quiet.
std::string display_name(int number) {
  std::string name = ":";
  name += std::to_string(number);
  return name;
}

// A window that goes away between a look-up and a request is no reason to
// stop the test process, which Xlib's default handler would do.
int note_x_error(Display*, XErrorEvent*) { return 0; }

// The pid in the server's lock file, or 0 when there is none.
pid_t lock_owner(int number) {
  char path[64];
  std::snprintf(path, sizeof path, "/tmp/.X%d-lock", number);
  std::ifstream lock(path);
  long pid = 0;
  lock >> pid;
  return static_cast<pid_t>(pid);
}

pid_t spawn_xvfb(int number, std::string& error) {
  const std::string display = display_name(number);
  const char* argv[] = {XVFB_PROGRAM, display.c_str(), "-screen", "0", "1024x768x24",
                        "-nolisten", "tcp", "-noreset", nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failure =
      posix_spawnp(&pid, XVFB_PROGRAM, &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failure != 0) {
    error = std::string("cannot start " XVFB_PROGRAM ": ") + std::strerror(failure) +
            " (the xvfb package; ./suite test installs it)";
    return 0;
  }
  return pid;
}

// Waits until our server owns display `number` and accepts a connection;
// false when it ended first (another server had the number) or took too long.
bool connect_when_ready(XServer& server) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  const std::string name = display_name(server.number);
  while (std::chrono::steady_clock::now() < deadline) {
    int status;
    if (waitpid(server.pid, &status, WNOHANG) == server.pid) return false;
    if (lock_owner(server.number) == server.pid) {
      server.display = XOpenDisplay(name.c_str());
      if (server.display) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(server.pid, SIGKILL);
  waitpid(server.pid, nullptr, 0);
  return false;
}

// One colour channel of a TrueColor pixel, scaled to 8 bits.
unsigned channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const unsigned long value = (pixel & mask) >> std::countr_zero(mask);
  const int bits = std::popcount(mask);
  return bits >= 8 ? static_cast<unsigned>(value >> (bits - 8))
                   : static_cast<unsigned>(value * 255 / ((1ul << bits) - 1));
}

}  // namespace

bool start_x_server(XServer& server, std::string& error) {
  XSetErrorHandler(note_x_error);
  // Start high, away from the usual :0 and :99, and spread parallel tests.
  const int first = 120 + static_cast<int>(getpid() % 64) * 4;
  for (int number = first; number < first + 40; ++number) {
    if (lock_owner(number) != 0) continue;
    server = XServer{};
    server.number = number;
    server.pid = spawn_xvfb(number, error);
    if (server.pid == 0) return false;
    if (connect_when_ready(server)) return true;
  }
  server = XServer{};
  error = "Xvfb found no free display from :" + std::to_string(first);
  return false;
}

void stop_x_server(XServer& server) {
  if (server.display) XCloseDisplay(server.display);
  if (server.pid > 0) {
    kill(server.pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(server.pid, nullptr, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() >= deadline) {
        kill(server.pid, SIGKILL);
        waitpid(server.pid, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  server = XServer{};
}

Window find_window(Display* display, const std::string& title) {
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name) {
      if (title == name) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

bool grab_window(Display* display, Window window, Picture& picture) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes,
                            ZPixmap);
  if (image == nullptr) return false;
  const Visual* visual = attributes.visual;
  picture.width = attributes.width;
  picture.height = attributes.height;
  picture.rgb.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      picture.rgb[static_cast<std::size_t>(y) * picture.width + x] =
          channel(pixel, visual->red_mask) << 16 | channel(pixel, visual->green_mask) << 8 |
          channel(pixel, visual->blue_mask);
    }
  }
  XDestroyImage(image);
  return true;
}

void press_key(Display* display, Window window) {
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  const KeyCode space = XKeysymToKeycode(display, XK_space);
  XTestFakeKeyEvent(display, space, True, CurrentTime);
  XTestFakeKeyEvent(display, space, False, CurrentTime);
  XSync(display, False);
}

void request_close(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
}

// render_scene: draws scenes as PNG or SVG pictures, or writes them as
// JSON; the command behind ./suite render (render_scene --help).
//
// Every argument and every scene is read and checked before anything is
// drawn or written: a bad one gets one line on standard error and status 2.
// A picture is written unnamed in its folder and linked in once whole, so
// a failed write leaves nothing behind (status 1), nor does a stop signal
// (held back, looked for between pieces of the work: status 128 + it).
// With --frames N, two scenes make a motion (scene_motion.h), its N frames
// drawn in order and written as one animated WebP (animation_writer.h).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "animation_writer.h"
#include "draw_scene.h"
#include "frame_times.h"
#include "png_encode.h"
#include "explorer_link.h"
#include "program_scenes.h"
#include "scene_motion.h"
#include "whole_number.h"
#include "scene_json.h"
#include "shell_word.h"
#include "standard_output.h"
#include "stop_signals.h"
#include "svg_picture.h"
#include "threaded_walk.h"
#include "whole_file.h"

namespace {

struct Options {
  int width = 0;  // 0: the scene's own size
  int height = 0;
  std::int64_t steps = -1;  // -1: the scene's own
  int threads = 0;          // 0: every core
  bool help = false;
  bool clock_given = false;
  std::uint32_t clock = 0;
  int frames = 0;  // 0: stills; else a motion of this many frames between two scenes
  std::string out;
  std::vector<std::string> scenes;
};

struct Job {
  std::string label;  // names the scene in messages
  std::string name;   // of the default picture
  bool from_program;
  Scene scene;
  std::string out;
  int frames = 0;  // a motion from `scene` to `last`
  Scene last;
};

// One thread a core, as the system counts them (1 when it cannot say).
int every_core() {
  return static_cast<int>(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, max_threads));
}

void help() {
  std::printf(
      "Usage: ./suite render SCENE... [options]\n"
      "Draws each SCENE, exactly as the suite's programs draw, into a picture.\n"
      "SCENE is a scene file (JSON), an explorer link (http://.../explore.html?QUERY)\n"
      "or its QUERY alone, PROGRAM:K, picture K of a program as its page numbers it\n"
      "(the frame it shows, complete), or PROGRAM@F, frame F (its F-th flip, as the\n"
      "export numbers its files).\n"
      "A scene file is a regular file of at most 4 MB; a scene holds at most 10^11\n"
      "steps a walk, a skip of 10^10 draws and 2000000 images a generation.\n"
      "\n"
      "Options:\n"
      "  --size WxH ......... draw W x H pixels of the same region of the plane\n"
      "                       (default: the scene's own size; up to 16384x16384)\n"
      "  --steps N .......... steps of every walk, 0 to 10^11 (default: the scene's)\n"
      "  --threads N ........ threads to draw with, 1 to %d, the same pixels for any N\n"
      "                       (default: one a core, %d here)\n"
      "  --clock SECONDS .... the clock PROGRAM:K or @F is drawn at, 1 to 4294967295\n"
      "                       (default: now, and the command to draw it again is printed)\n"
      "  --out FILE ......... FILE.png, FILE.svg, or FILE.json for the scene itself\n"
      "                       (default: pictures/NAME.png; one SCENE only)\n"
      "  --frames N ......... a motion: two SCENEs, the circles and view moved from the\n"
      "                       first to the second in N frames (2 to 1000, at most 10^9\n"
      "                       pixels in all), as one animated WebP (--out FILE.webp;\n"
      "                       default: pictures/FIRST-to-SECOND.webp)\n"
      "  -h, --help ......... this help\n"
      "\n"
      "Example:\n"
      "  ./suite render five_circle_limit:1 --clock 1700000000 --size 7680x4320 --steps "
      "1000000000\n",
      max_threads, every_core());
}

bool ends_with(const std::string& text, const char* tail) {
  const std::size_t n = std::strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

// The arguments into `options`; false with the line to show.
bool parse(int argc, char** argv, Options& options, std::string& line) {
  const auto refuse = [&line](const std::string& text) {
    line = text;
    return false;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      options.help = true;
      return true;
    }
    const bool takes_value =
        arg == "--size" || arg == "--steps" || arg == "--clock" || arg == "--out" || arg == "--threads" ||
        arg == "--frames";
    if (takes_value && i + 1 == argc) return refuse(arg + " wants a value");
    const std::string value = takes_value ? argv[++i] : "";
    std::int64_t number = 0;
    if (arg == "--size") {
      const std::size_t x = value.find('x');
      std::int64_t w = 0, h = 0;
      if (x == std::string::npos || !whole_number(value.substr(0, x), 1, max_scene_side, w) ||
          !whole_number(value.substr(x + 1), 1, max_scene_side, h))
        return refuse("--size wants WIDTHxHEIGHT from 1x1 to " + std::to_string(max_scene_side) + "x" +
                      std::to_string(max_scene_side) + ", not '" + value + "'");
      options.width = static_cast<int>(w);
      options.height = static_cast<int>(h);
    } else if (arg == "--steps") {
      if (!whole_number(value, 0, max_walk_steps, number))
        return refuse("--steps wants a whole number from 0 to " + std::to_string(max_walk_steps) +
                      ", not '" + value + "'");
      options.steps = number;
    } else if (arg == "--threads") {
      if (!whole_number(value, 1, max_threads, number))
        return refuse("--threads wants a whole number from 1 to " + std::to_string(max_threads) +
                      ", not '" + value + "'");
      options.threads = static_cast<int>(number);
    } else if (arg == "--clock") {
      if (!clock_number(value, options.clock))
        return refuse("--clock wants whole seconds from 1 to " + std::to_string(largest_clock) +
                    ", not '" + value + "'");
      options.clock_given = true;
    } else if (arg == "--out") {
      if (!ends_with(value, ".png") && !ends_with(value, ".svg") && !ends_with(value, ".json") &&
          !ends_with(value, ".webp"))
        return refuse("--out wants a file name ending in .png, .svg, .json or (with --frames) .webp, not '" +
                      value + "'");
      options.out = value;
    } else if (arg == "--frames") {
      if (!whole_number(value, 2, max_motion_frames, number))
        return refuse("--frames wants a whole number from 2 to " + std::to_string(max_motion_frames) + ", not '" +
                      value + "'");
      options.frames = static_cast<int>(number);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return refuse("unknown option " + arg);
    } else {
      options.scenes.push_back(arg);
    }
  }
  if (options.scenes.empty()) return refuse("no SCENE given");
  if (options.frames > 0 && options.scenes.size() != 2)
    return refuse("--frames wants two SCENEs, the motion's first and last, not " +
                  std::to_string(options.scenes.size()));
  if (options.frames > 0 && !options.out.empty() && !ends_with(options.out, ".webp"))
    return refuse("--frames writes an animated WebP: --out wants FILE.webp, not '" + options.out + "'");
  if (options.frames == 0 && ends_with(options.out, ".webp"))
    return refuse("--out FILE.webp is a motion, which wants --frames N and two SCENEs");
  if (!options.out.empty() && options.scenes.size() > 1 && options.frames == 0)
    return refuse("--out takes one SCENE, not " + std::to_string(options.scenes.size()));
  if (!options.clock_given) options.clock = static_cast<std::uint32_t>(std::time(nullptr));
  if (options.threads == 0) options.threads = every_core();
  return true;
}

// PROGRAM:K (picture K, `frame` false) or PROGRAM@F (frame F), with the
// program's name in lower case letters, digits and _ and the number any
// digits (-1 for one past 64 bits, which no program has).
bool program_picture(const std::string& arg, std::string& program, std::int64_t& number,
                     bool& frame) {
  const std::size_t mark = arg.find_first_of(":@");
  if (mark == std::string::npos || mark == 0 || mark + 1 == arg.size() ||
      arg.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != mark ||
      arg.find_first_not_of("0123456789", mark + 1) != std::string::npos)
    return false;
  program = arg.substr(0, mark);
  frame = arg[mark] == '@';
  if (!whole_number(arg.substr(mark + 1), 0, INT64_MAX, number)) number = -1;
  return true;
}

std::string file_stem(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? "scene" : name;
}

// A scene file's text: a regular file of at most max_scene_file_bytes,
// checked on the open descriptor before it is read (a FIFO is opened
// without waiting for a writer, and refused).
bool read_scene_file(const std::string& path, std::string& text, std::string& problem) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat file;
  if (fd < 0 || fstat(fd, &file) != 0) {
    problem = std::strerror(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  const std::string limit = std::to_string(max_scene_file_bytes / 1000000) + " MB";
  if (!S_ISREG(file.st_mode))
    problem = "not a regular file (a scene file is JSON of at most " + limit + ")";
  else if (static_cast<std::uint64_t>(file.st_size) > max_scene_file_bytes)
    problem = "more than " + limit + " (a scene file is JSON of at most " + limit + ")";
  // One byte past the limit shows a file that grew after fstat.
  text.resize(max_scene_file_bytes + 1);
  std::size_t got = 0;
  while (problem.empty() && got < text.size()) {
    const ssize_t n = read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) problem = std::strerror(errno);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  close(fd);
  if (problem.empty() && got > max_scene_file_bytes) problem = "more than " + limit;
  text.resize(got);
  return problem.empty();
}

// The scene given by one SCENE argument, with the options applied and the
// result checked again; false with the line to show.
bool load(const std::string& arg, const Options& options, Job& job, std::string& line) {
  job = {arg, "", false, {}, "", 0, {}};
  SceneErrors errors;
  std::string program, text, problem;
  std::int64_t number = 0;
  bool frame = false;
  PictureFrame shows;
  struct stat file;
  const bool exists = stat(arg.c_str(), &file) == 0;
  if (program_picture(arg, program, number, frame) && !exists) {
    if (!(frame || picture_frame(program, number, shows, errors)) ||
        !program_scene(program, frame ? number : shows.frame, options.clock, job.scene, errors)) {
      line = error_line(errors);
      // A number past 64 bits is named as it was written.
      if (const std::size_t at = line.rfind(", not -1"); number < 0 && at != std::string::npos)
        line.replace(at + 6, 2, arg.substr(program.size() + 1));
      return false;
    }
    job.name = program + (frame ? "-frame-" : "-") + std::to_string(number);
    job.from_program = true;
  } else if (exists) {
    if (!read_scene_file(arg, text, problem)) {
      line = arg + ": " + problem;
      return false;
    }
    if (!read_scene_json(text, job.scene, errors)) {
      line = arg + ": " + error_line(errors);
      return false;
    }
    job.name = file_stem(arg);
  } else if (arg.find('=') != std::string::npos) {
    std::string query = arg.substr(arg.find('?') == std::string::npos ? 0 : arg.find('?') + 1);
    query = query.substr(0, query.find('#'));
    job.label = "link";
    if (!read_explorer_link(query, job.scene, errors)) {
      line = "link: " + error_line(errors);
      return false;
    }
    job.name = "link";
  } else {
    line = arg + ": " + std::strerror(errno) + " (a SCENE is a file, a link, PROGRAM:K or PROGRAM@F)";
    return false;
  }
  if (options.steps >= 0)
    for (int k = 0; k < job.scene.layer_count; ++k)
      if (job.scene.layers[k].kind == LayerKind::walk)
        job.scene.layers[k].walk.steps = options.steps;
  if (options.width > 0) {
    // A view scaled past the doubles' range, or to nothing, is refused as
    // in a file: the resized scene is checked by the same reader.
    nlohmann::ordered_json resized;
    to_json(resized, resized_scene(job.scene, options.width, options.height));
    if (!from_json(resized, job.scene, errors)) {
      line = job.label + " at --size " + std::to_string(options.width) + "x" +
             std::to_string(options.height) + ": " + error_line(errors);
      return false;
    }
  }
  return true;
}

// The file a job is written to, while it is written: unnamed in its
// folder until it is whole (whole_file.h), replacing what had its name.
struct Output {
  int folder = -1;
  std::string name;  // within the folder
  std::string shown;  // as given
  WholeFile file;
};

// A stop signal held back since the start: what was begun is removed and
// the render ends by the signal (status 128 + it).
void stop_if_asked(Output* out) {
  const int signal = pending_stop_signal();
  if (signal == 0) return;
  if (out != nullptr && out->file.fd >= 0) {
    close(out->file.fd);
    abandon_whole_file(out->file, out->folder, out->name.c_str());
  }
  std::fprintf(stderr, "%srender: stopped by SIG%s%s\n", isatty(STDERR_FILENO) == 1 ? "\n" : "", sigabbrev_np(signal),
               out != nullptr ? ("; " + out->shown + " was not written").c_str() : "");
  end_by_signal(signal);
}

// Between pieces of the drawing: a stop signal is looked for, and on a
// terminal, for renders that take over a second, a progress line shown.
struct Progress {
  std::string label;
  Output* output;
  bool terminal;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point shown{};
  bool printed = false;
  int part = 0;  // of a motion: the frame drawn, of `parts`
  int parts = 1;
};

void report_progress(void* context, double done) {
  Progress* p = static_cast<Progress*>(context);
  done = (p->part + done) / p->parts;
  stop_if_asked(p->output);
  if (!p->terminal) return;
  const auto now = std::chrono::steady_clock::now();
  const double elapsed = std::chrono::duration<double>(now - p->start).count();
  if (elapsed < 1.0 || now - p->shown < std::chrono::milliseconds(200) || done <= 0) return;
  p->shown = now;
  const double left = elapsed / done - elapsed;
  std::fprintf(stderr, "\r%s: %5.1f%%, about %.0f s left ", p->label.c_str(),
               std::floor(done * 1000) / 10, left);
  p->printed = true;
}

// The file's bytes, with a look for a stop signal before each piece.
struct Sink {
  StdioSink stdio;
  Output* output;
};

bool write_piece(void* context, const void* bytes, std::size_t size) {
  Sink* sink = static_cast<Sink*>(context);
  stop_if_asked(sink->output);
  return write_to_stdio(&sink->stdio, bytes, size);
}

// A motion's frames drawn in order on `canvas`, each added to the
// animation as it is done; then the whole file to `write`.
bool draw_motion(const Job& job, const Canvas& canvas, Progress& progress, PngWrite write, void* sink,
                 char* error, std::size_t error_size) {
  const SceneProgress report{report_progress, &progress};
  const std::vector<int> times = frame_times_ms(static_cast<std::size_t>(job.frames));
  WebpAnimation animation;
  begin_webp_animation(animation, canvas.width, canvas.height);
  RgbImage picture;
  std::string reason;
  progress.parts = job.frames;
  for (int f = 0; f < job.frames; ++f) {
    progress.part = f;
    draw_scene(motion_frame(job.scene, job.last, f, job.frames), canvas, &report);
    picture_of_canvas(canvas, picture);
    if (!add_animation_picture(animation, picture, times[f], reason)) {
      std::snprintf(error, error_size, "%s", reason.c_str());
      return false;
    }
  }
  const std::vector<std::uint8_t> file = webp_animation_file(animation);
  return write(sink, file.data(), file.size());
}

// Draws or writes one job into an unnamed file in its folder, then links
// it in under its name.
bool render(const Job& job, int threads) {
  Output out;
  out.shown = job.out;
  const std::size_t slash = job.out.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : job.out.substr(0, slash);
  out.name = slash == std::string::npos ? job.out : job.out.substr(slash + 1);
  out.folder = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const auto fail = [&](int cause, const char* reason) {
    std::fprintf(stderr, "render: cannot write %s: %s\n", job.out.c_str(),
                 cause != 0 ? std::strerror(cause) : reason);
    if (out.folder >= 0) close(out.folder);
    return false;
  };
  if (out.folder < 0 || !begin_whole_file(out.folder, out.name.c_str(), out.file, true))
    return fail(errno, "");
  Sink sink{{fdopen(out.file.fd, "wb"), 0}, &out};
  if (sink.stdio.file == nullptr) {
    const int cause = errno;
    close(out.file.fd);
    abandon_whole_file(out.file, out.folder, out.name.c_str());
    return fail(cause, "");
  }
  char error[256] = "cannot write the picture";
  bool written = false;
  const int width = job.scene.width, height = job.scene.height;
  if (ends_with(job.out, ".json")) {
    const std::string text = scene_json_text(job.scene);
    written = write_piece(&sink, text.data(), text.size());
  } else {
    std::vector<std::uint32_t> pixels;
    try {
      pixels.resize(static_cast<std::size_t>(width) * height);
    } catch (const std::bad_alloc&) {
      std::snprintf(error, sizeof error, "not enough memory for %d x %d pixels", width, height);
    }
    const Canvas canvas{pixels.data(), width, height, width};
    Progress progress{job.label, &out, isatty(STDERR_FILENO) == 1};
    const SceneProgress report{report_progress, &progress};
    if (pixels.empty()) {
      written = false;
    } else if (job.frames > 0) {
      written = draw_motion(job, canvas, progress, write_piece, &sink, error, sizeof error);
    } else if (ends_with(job.out, ".svg")) {
      SceneErrors errors;
      written = write_scene_svg(job.scene, canvas, &report, write_piece, &sink, errors,
                                threads);
      if (!written) std::snprintf(error, sizeof error, "%s", error_line(errors).c_str());
    } else {
      draw_scene(job.scene, canvas, &report, threads);
      written = encode_png(canvas, no_transparent_colour, write_piece, &sink, error, sizeof error);
    }
    if (progress.printed)
      std::fprintf(stderr, "\r%*s\r", static_cast<int>(job.label.size()) + 30, "");
  }
  // The first system error met names the cause; else the writer's reason.
  errno = 0;
  const bool flushed = written && std::fflush(sink.stdio.file) == 0;
  int cause = sink.stdio.error != 0 ? sink.stdio.error : written && !flushed ? errno : 0;
  bool named = flushed && name_whole_file(out.file, out.folder, out.name.c_str());
  if (flushed && !named) cause = errno;
  errno = 0;
  if (std::fclose(sink.stdio.file) != 0 && named) {
    named = false;
    cause = errno;
  }
  if (!named) {
    abandon_whole_file(out.file, out.folder, out.name.c_str());
    return fail(cause, error);
  }
  close(out.folder);
  std::printf("%s: %s (%d x %d%s)\n", job.label.c_str(), job.out.c_str(), width, height,
              job.frames > 0 ? (", " + std::to_string(job.frames) + " frames").c_str() : "");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  guard_standard_descriptors();
  hold_stop_signals();
  Options options;
  std::string refusal;
  if (!parse(argc, argv, options, refusal)) {
    std::fprintf(stderr, "render: %s (./suite render --help)\n", refusal.c_str());
    return 2;
  }
  if (options.help) {
    help();
    return 0;
  }
  std::vector<Job> jobs;
  bool any_program = false;
  if (options.frames > 0) {
    Job first, last;
    std::string line;
    SceneErrors errors;
    if (!load(options.scenes[0], options, first, line) || !load(options.scenes[1], options, last, line)) {
      std::fprintf(stderr, "%s\n", line.c_str());
      return 2;
    }
    if (!check_motion(first.scene, last.scene, options.frames, errors)) {
      std::fprintf(stderr, "motion from %s to %s: %s\n", first.label.c_str(), last.label.c_str(),
                   error_line(errors).c_str());
      return 2;
    }
    first.frames = options.frames;
    first.last = last.scene;
    first.name += "-to-" + last.name;
    first.label = "motion";
    any_program = first.from_program || last.from_program;
    jobs.push_back(first);
    options.scenes.clear();
  }
  for (const std::string& arg : options.scenes) {
    Job job;
    std::string line;
    if (!load(arg, options, job, line)) {
      std::fprintf(stderr, "%s\n", line.c_str());
      return 2;
    }
    jobs.push_back(job);
    any_program = any_program || job.from_program;
  }
  // Names given twice (two links, one file twice) are numbered.
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    int seen = 1;
    for (std::size_t k = 0; k < i; ++k) seen += jobs[k].name == jobs[i].name ? 1 : 0;
    std::string out = options.out;
    if (out.empty()) {
      out = "pictures/" + jobs[i].name;
      if (seen > 1) (out += '-') += std::to_string(seen);
      out += jobs[i].frames > 0 ? ".webp" : ".png";
    }
    jobs[i].out = out;
  }
  if (options.out.empty() && mkdir("pictures", 0755) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "render: cannot make the folder pictures: %s\n", std::strerror(errno));
    return 1;
  }
  bool failed = false;
  for (const Job& job : jobs) failed = !render(job, options.threads) || failed;
  stop_if_asked(nullptr);
  std::string clock_line;
  if (any_program && !options.clock_given) {
    std::string again = "./suite render";
    for (int i = 1; i < argc; ++i) again += " " + shell_word(argv[i]);
    clock_line = "Clock " + std::to_string(options.clock) + "; to draw this again: " + again +
                 " --clock " + std::to_string(options.clock);
    std::printf("%s\n", clock_line.c_str());
  }
  if (!standard_output_written("render", clock_line)) failed = true;
  return failed ? 1 : 0;
}

// render_scene: draws scenes as PNG or SVG pictures, or writes them as
// JSON; the command behind ./suite render (render_scene --help).
//
// Every argument and every scene is read and checked before anything is
// drawn or written: a bad one gets one line on standard error and status 2.
// A picture is written unnamed in its folder and linked in once whole, so
// a failed write leaves nothing behind (status 1), nor does a stop signal
// (held back, looked for between pieces of the work: status 128 + it).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "draw_scene.h"
#include "png_encode.h"
#include "explorer_link.h"
#include "program_scenes.h"
#include "whole_number.h"
#include "scene_json.h"
#include "shell_word.h"
#include "standard_output.h"
#include "stop_signals.h"
#include "svg_picture.h"
#include "whole_file.h"

namespace {

struct Options {
  int width = 0;  // 0: the scene's own size
  int height = 0;
  std::int64_t steps = -1;  // -1: the scene's own
  bool clock_given = false;
  std::uint32_t clock = 0;
  std::string out;
  std::vector<std::string> scenes;
};

struct Job {
  std::string label;  // names the scene in messages
  std::string name;   // of the default picture
  bool from_program;
  Scene scene;
  std::string out;
};

void help() {
  std::printf(
      "Usage: ./suite render SCENE... [options]\n"
      "Draws each SCENE, exactly as the suite's programs draw, into a picture.\n"
      "SCENE is a scene file (JSON), an explorer link (http://.../explore.html?QUERY)\n"
      "or its QUERY alone, or PROGRAM:K, picture K of a program as a scene.\n"
      "\n"
      "Options:\n"
      "  --size WxH ......... draw W x H pixels of the same region of the plane\n"
      "                       (default: the scene's own size; up to 16384x16384)\n"
      "  --steps N .......... steps of every walk, 0 to 10^11 (default: the scene's)\n"
      "  --clock SECONDS .... the clock PROGRAM:K is drawn at, 1 to 4294967295\n"
      "                       (default: now, and the command to draw it again is printed)\n"
      "  --out FILE ......... FILE.png, FILE.svg, or FILE.json for the scene itself\n"
      "                       (default: pictures/NAME.png; one SCENE only)\n"
      "  -h, --help ......... this help\n"
      "\n"
      "Example:\n"
      "  ./suite render five_circle_limit:1 --clock 1700000000 --size 7680x4320 --steps "
      "1000000000\n");
}

[[noreturn]] void usage_error(const std::string& line) {
  std::fprintf(stderr, "render: %s (./suite render --help)\n", line.c_str());
  std::exit(2);
}

[[noreturn]] void scene_error(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::exit(2);
}

bool ends_with(const std::string& text, const char* tail) {
  const std::size_t n = std::strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      help();
      std::exit(0);
    }
    const bool takes_value =
        arg == "--size" || arg == "--steps" || arg == "--clock" || arg == "--out";
    if (takes_value && i + 1 == argc) usage_error(arg + " wants a value");
    const std::string value = takes_value ? argv[++i] : "";
    std::int64_t number = 0;
    if (arg == "--size") {
      const std::size_t x = value.find('x');
      std::int64_t w = 0, h = 0;
      if (x == std::string::npos || !whole_number(value.substr(0, x), 1, max_scene_side, w) ||
          !whole_number(value.substr(x + 1), 1, max_scene_side, h))
        usage_error("--size wants WIDTHxHEIGHT from 1x1 to 16384x16384, not '" + value + "'");
      options.width = static_cast<int>(w);
      options.height = static_cast<int>(h);
    } else if (arg == "--steps") {
      if (!whole_number(value, 0, max_walk_steps, number))
        usage_error("--steps wants a whole number from 0 to 100000000000, not '" + value + "'");
      options.steps = number;
    } else if (arg == "--clock") {
      if (!whole_number(value, 1, 4294967295, number))
        usage_error("--clock wants whole seconds from 1 to 4294967295, not '" + value + "'");
      options.clock_given = true;
      options.clock = static_cast<std::uint32_t>(number);
    } else if (arg == "--out") {
      if (!ends_with(value, ".png") && !ends_with(value, ".svg") && !ends_with(value, ".json"))
        usage_error("--out wants a file name ending in .png, .svg or .json, not '" + value + "'");
      options.out = value;
    } else if (arg.size() > 1 && arg[0] == '-') {
      usage_error("unknown option " + arg);
    } else {
      options.scenes.push_back(arg);
    }
  }
  if (options.scenes.empty()) usage_error("no SCENE given");
  if (!options.out.empty() && options.scenes.size() > 1)
    usage_error("--out takes one SCENE, not " + std::to_string(options.scenes.size()));
  if (!options.clock_given) options.clock = static_cast<std::uint32_t>(std::time(nullptr));
  return options;
}

// PROGRAM:K, with the program's name in lower case letters, digits and _.
bool program_picture(const std::string& arg, std::string& program, int& picture) {
  const std::size_t colon = arg.find(':');
  if (colon == std::string::npos || colon == 0 ||
      arg.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != colon)
    return false;
  std::int64_t k = 0;
  if (!whole_number(arg.substr(colon + 1), 0, 1000000, k)) return false;
  program = arg.substr(0, colon);
  picture = static_cast<int>(k);
  return true;
}

std::string file_stem(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? "scene" : name;
}

Job load(const std::string& arg, const Options& options) {
  Job job{arg, "", false, {}, ""};
  SceneErrors errors;
  std::string program;
  int picture = 0;
  struct stat file;
  if (program_picture(arg, program, picture) && stat(arg.c_str(), &file) != 0) {
    std::string refusal;
    if (!program_scene(program, picture, options.clock, job.scene, refusal)) scene_error(refusal);
    job.name = program + "-" + std::to_string(picture);
    job.from_program = true;
  } else if (stat(arg.c_str(), &file) == 0) {
    std::ifstream in(arg, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in || S_ISDIR(file.st_mode)) scene_error(arg + ": cannot read it");
    if (!read_scene_json(text.str(), job.scene, errors))
      scene_error(arg + ": " + error_line(errors));
    job.name = file_stem(arg);
  } else if (arg.find('=') != std::string::npos) {
    std::string query = arg.substr(arg.find('?') == std::string::npos ? 0 : arg.find('?') + 1);
    query = query.substr(0, query.find('#'));
    job.label = "link";
    if (!read_explorer_link(query, job.scene, errors)) scene_error("link: " + error_line(errors));
    job.name = "link";
  } else {
    scene_error(arg + ": " + std::strerror(errno) + " (a SCENE is a file, a link or PROGRAM:K)");
  }
  if (options.steps >= 0)
    for (int k = 0; k < job.scene.layer_count; ++k)
      if (job.scene.layers[k].kind == LayerKind::walk)
        job.scene.layers[k].walk.steps = options.steps;
  if (options.width > 0) job.scene = resized_scene(job.scene, options.width, options.height);
  return job;
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
};

void report_progress(void* context, double done) {
  Progress* p = static_cast<Progress*>(context);
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

// Draws or writes one job into an unnamed file in its folder, then links
// it in under its name.
bool render(const Job& job) {
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
    } else if (ends_with(job.out, ".svg")) {
      written = write_scene_svg(job.scene, canvas, &report, write_piece, &sink, error, sizeof error);
    } else {
      draw_scene(job.scene, canvas, &report);
      written = encode_png({pixels.data(), width, height, width}, no_transparent_colour,
                           write_piece, &sink, error, sizeof error);
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
  std::printf("%s: %s (%d x %d)\n", job.label.c_str(), job.out.c_str(), width, height);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  guard_standard_descriptors();
  hold_stop_signals();
  const Options options = parse(argc, argv);
  std::vector<Job> jobs;
  bool any_program = false;
  for (const std::string& arg : options.scenes) {
    jobs.push_back(load(arg, options));
    any_program = any_program || jobs.back().from_program;
  }
  // Names given twice (two links, one file twice) are numbered.
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    int seen = 1;
    for (std::size_t k = 0; k < i; ++k) seen += jobs[k].name == jobs[i].name ? 1 : 0;
    std::string out = options.out;
    if (out.empty()) {
      out = "pictures/" + jobs[i].name;
      if (seen > 1) (out += '-') += std::to_string(seen);
      out += ".png";
    }
    jobs[i].out = out;
  }
  if (options.out.empty() && mkdir("pictures", 0755) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "render: cannot make the folder pictures: %s\n", std::strerror(errno));
    return 1;
  }
  bool failed = false;
  for (const Job& job : jobs) failed = !render(job) || failed;
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

// Every frame of every listed program at two clocks, pinned by a hash of
// its pixels in picture_hashes.txt. The other program tests compare runs of
// today's code with one another (keys and quits, window and headless,
// browser and native); only this table ties a frame to what it was, so a
// slip that changes pictures everywhere alike fails here, naming the
// program, the clock and the frame.
//
// A change meant to alter pictures pins them again with
//   PIN_PICTURES=1 build/test/tests/program_tests --gtest_filter='PicturePins.*'
// and its diff of picture_hashes.txt says which pictures changed.
#include <SDL.h>
#include <SDL_thread.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "run_program.h"

namespace {

// The gallery's clock and another.
constexpr long pinned_clocks[] = {1700000000, 1234567891};

const char header[] =
    "# Every frame of every program at two clocks, pinned by a hash of its\n"
    "# pixels: FNV-1a 64 over each pixel's red, green and blue bytes, row by\n"
    "# row. Checked by PicturePins (tests/programs/picture_pins_test.cpp, label\n"
    "# program). Written only by\n"
    "#   PIN_PICTURES=1 build/test/tests/program_tests --gtest_filter='PicturePins.*'\n"
    "# after a change meant to alter pictures; its diff names those that did.\n"
    "# program clock frame hash\n";

std::uint64_t pixel_hash(const Picture& picture) {
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const std::uint32_t rgb : picture.rgb) {
    for (const int shift : {16, 8, 0}) {
      hash ^= rgb >> shift & 0xFF;
      hash *= 0x100000001b3;
    }
  }
  return hash;
}

// (program, clock, frame from 1) -> the hash in hex.
using PinKey = std::tuple<std::string, long, std::size_t>;
using Pins = std::map<PinKey, std::string>;

std::string describe(const PinKey& key) {
  const auto& [program, clock, frame] = key;
  return program + " at clock " + std::to_string(clock) + ", frame " + std::to_string(frame);
}

Pins read_pins() {
  Pins pins;
  std::ifstream file(PICTURE_HASHES);
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string program, hash;
    long clock = 0;
    std::size_t picture = 0;
    fields >> program >> clock >> picture >> hash;
    pins[{program, clock, picture}] = hash;
  }
  return pins;
}

struct Job {
  std::string program;
  long clock;
  int flips;
  ProgramRun run;  // the pictures dropped once hashed
  std::vector<std::string> hashes;
};

struct Work {
  std::vector<Job>& jobs;
  std::atomic<std::size_t> next{0};
};

int work(void* data) {
  Work& work = *static_cast<Work*>(data);
  for (std::size_t i; (i = work.next++) < work.jobs.size();) {
    Job& job = work.jobs[i];
    RunOptions options;
    options.clock = job.clock;
    job.run = run_program(job.program, options);
    for (const Picture& picture : job.run.pictures) {
      char hex[17];
      std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(pixel_hash(picture)));
      job.hashes.push_back(hex);
    }
    job.run.pictures.clear();
  }
  return 0;
}

// Runs every job, hashing its pictures, on as many threads as cores. They
// are SDL's threads: SDL frees what it keeps for each (its error text) only
// for its own.
void run_all(std::vector<Job>& jobs) {
  Work shared{jobs};
  std::vector<SDL_Thread*> threads(std::max(1u, std::thread::hardware_concurrency()));
  for (SDL_Thread*& thread : threads) thread = SDL_CreateThread(work, &shared);
  for (SDL_Thread* thread : threads) {
    if (thread) SDL_WaitThread(thread, nullptr);
  }
  if (shared.next < jobs.size()) work(&shared);  // no thread could be made
}

TEST(PicturePins, EveryFrameOfEveryProgramAtTwoClocksIsAsPinned) {
  std::vector<Job> jobs;
  for (const ListedProgram& listed : listed_programs())
    for (const long clock : pinned_clocks) jobs.push_back({listed.name, clock, listed.frames, {}, {}});
  run_all(jobs);

  Pins drawn;
  for (const Job& job : jobs) {
    ASSERT_EQ(job.run.exit_status, 0) << job.program << " at clock " << job.clock << ": " << job.run.standard_error;
    ASSERT_EQ(job.hashes.size(), static_cast<std::size_t>(job.flips)) << job.program << " at clock " << job.clock;
    for (std::size_t n = 0; n < job.hashes.size(); ++n) drawn[{job.program, job.clock, n + 1}] = job.hashes[n];
  }

  const char* pin = std::getenv("PIN_PICTURES");
  if (pin != nullptr && *pin != '\0' && std::string(pin) != "0") {
    std::ofstream file(PICTURE_HASHES);
    file << header;
    for (const Job& job : jobs)
      for (std::size_t n = 0; n < job.hashes.size(); ++n)
        file << job.program << ' ' << job.clock << ' ' << n + 1 << ' ' << job.hashes[n] << '\n';
    file.close();
    ASSERT_TRUE(file) << "cannot write " << PICTURE_HASHES;
    std::printf("pinned %zu frames in %s\n", drawn.size(), PICTURE_HASHES);
    return;
  }

  const Pins pinned = read_pins();
  ASSERT_FALSE(pinned.empty()) << "no pins in " << PICTURE_HASHES;
  for (const auto& [key, hash] : drawn) {
    const auto found = pinned.find(key);
    if (found == pinned.end())
      ADD_FAILURE() << describe(key) << ": drawn, but not pinned";
    else if (hash != found->second)
      ADD_FAILURE() << describe(key) << ": its pixels changed (hash " << hash << ", pinned " << found->second << ")";
  }
  for (const auto& [key, hash] : pinned)
    if (!drawn.count(key)) ADD_FAILURE() << describe(key) << ": pinned, but not drawn";
}

}  // namespace

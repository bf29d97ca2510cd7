// What every program of programs.list does whatever it draws: it shows the
// listed pictures, holds the listed ones for a key in its own order, ends
// with status 0 and nothing on standard error, whether keys or quit events
// answer its waits and whatever the clock; its pictures change with the
// clock exactly when it draws random numbers. The programs' own files check
// what the pictures show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "run_program.h"
#include "shared_run.h"

// Names each instance's parameter in a failure by its program alone.
void PrintTo(const ListedProgram& program, std::ostream* out) { *out << program.name; }

namespace {

// The second clock the random programs' own tests use, so one process runs
// each program at it once.
constexpr long another_clock = 1700003601;

// What programs.list does not say about a program.
struct Differences {
  const char* name;
  bool random;         // seeds its random numbers from the clock
  const char* output;  // everything it prints on standard output
  const char* order;   // its flips (f) and waits (w): letters and (groups), + for one or more
};

const Differences table[] = {
    {"soddy_gasket", true, "", "(fw)+"},
    {"coaxal_pencil", false, "", "(fw)+"},
    {"five_circle_limit", true, "", "(fw)+"},
    {"ring_zoom", true, "", "fwf+w"},  // stage 0 held, then the whole zoom
    {"four_circle_packing", true, "12   132   17292   ", "(fw)+"},  // the three generation sizes
    {"two_circle_iteration", false, "", "(fw)+"},
    {"apollonian_circles", false, "", "(fw)+"},
    {"soddy_radius_sweep", true, "", "(ffw)+"},  // each pass: the circles, the orbit, a wait
    {"image_inversion", false, "", "(fw)+"},
    {"spoke_inversion", false, "", "(fw)+"},
};

const Differences* differences_of(const std::string& name) {
  for (const Differences& row : table)
    if (row.name == name) return &row;
  return nullptr;
}

// The run's log as one letter a line: f for a flip, w for a wait ended by a
// key or a quit, ? for anything else, which no order allows.
std::string order_of(const ProgramRun& run) {
  std::string order;
  for (const std::string& line : run.log)
    order += line.starts_with("flip ") ? 'f' : line == "event key" || line == "event quit" ? 'w' : '?';
  return order;
}

// Whether `text` is `pattern`: letters and parenthesised groups, each
// followed by + where it may repeat. (std::regex would do, but GCC 12 warns
// inside it at -O1.)
bool matches(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return text.empty();
  const bool group = pattern[0] == '(';
  const std::size_t end = group ? pattern.find(')') + 1 : 1;
  const std::string_view unit = group ? pattern.substr(1, end - 2) : pattern.substr(0, 1);
  const bool repeated = end < pattern.size() && pattern[end] == '+';
  const std::string_view rest = pattern.substr(end + (repeated ? 1 : 0));
  while (text.starts_with(unit)) {
    text.remove_prefix(unit.size());
    if (matches(text, rest)) return true;
    if (!repeated) return false;
  }
  return false;
}

void expect_clean_run(const ProgramRun& run, const ListedProgram& listed, const Differences& row) {
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.standard_error, "");
  EXPECT_EQ(run.standard_output, row.output);
  EXPECT_EQ(run.flips, listed.frames);
  EXPECT_EQ(run.waits, listed.pictures);
  EXPECT_TRUE(matches(order_of(run), row.order))
      << order_of(run) << " is not " << row.order;
  ASSERT_EQ(run.pictures.size(), static_cast<std::size_t>(listed.frames));
  for (const Picture& picture : run.pictures) {
    EXPECT_EQ(picture.width, 800);
    EXPECT_EQ(picture.height, 600);
  }
}

// The numbers, from 1, of the pictures in which two runs differ; a picture
// only one of them showed counts as differing.
std::vector<int> differing_pictures(const ProgramRun& a, const ProgramRun& b) {
  std::vector<int> differing;
  const std::size_t most = std::max(a.pictures.size(), b.pictures.size());
  for (std::size_t i = 0; i < most; ++i)
    if (i >= a.pictures.size() || i >= b.pictures.size() || !same_picture(a.pictures[i], b.pictures[i]))
      differing.push_back(static_cast<int>(i + 1));
  return differing;
}

class EveryProgram : public testing::TestWithParam<ListedProgram> {};

TEST_P(EveryProgram, EndsCleanlyOnKeysOnQuitsAndAtAnotherClock) {
  const ListedProgram& listed = GetParam();
  const Differences* row = differences_of(listed.name);
  ASSERT_NE(row, nullptr) << listed.name << " has no row in this file's table";

  const ProgramRun& keys = shared_run(listed.name);
  {
    SCOPED_TRACE("keys answering the waits");
    expect_clean_run(keys, listed, *row);
  }
  {
    SCOPED_TRACE("quit events answering the waits");
    const ProgramRun quits = quit_run(listed.name);
    expect_clean_run(quits, listed, *row);
    EXPECT_EQ(differing_pictures(keys, quits), std::vector<int>{}) << "a quit must only end the wait";
  }
  {
    SCOPED_TRACE("another clock");
    const ProgramRun& later = shared_run(listed.name, another_clock);
    expect_clean_run(later, listed, *row);
    if (row->random)
      EXPECT_NE(differing_pictures(keys, later), std::vector<int>{}) << "the random numbers ignore the clock";
    else
      EXPECT_EQ(differing_pictures(keys, later), std::vector<int>{}) << "pictures without random numbers changed";
  }
}

// A run that ends with exit 0 proves that no put_pixel left the window only
// if the program was built with the raster kit's window check, whose
// failure routine the executable then carries.
TEST_P(EveryProgram, IsBuiltWithTheWindowCheck) {
  const std::string path = std::string(PROGRAM_DIR) + "/" + GetParam().name;
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << "cannot read " << path;
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_NE(bytes.find("pixel_out_of_bounds"), std::string::npos)
      << path << " was built without RASTER_CHECK_BOUNDS: its clean runs prove nothing about "
      << "the window bounds";
}

INSTANTIATE_TEST_SUITE_P(Listed, EveryProgram, testing::ValuesIn(listed_programs()),
                         [](const testing::TestParamInfo<ListedProgram>& info) { return info.param.name; });

// A row left behind by a renamed program would check nothing; an empty or
// unreadable list would leave the tests above with no instances.
TEST(ProgramTable, EveryRowNamesAListedProgram) {
  for (const Differences& row : table) {
    bool listed = false;
    for (const ListedProgram& program : listed_programs()) listed = listed || program.name == row.name;
    EXPECT_TRUE(listed) << row.name << " is not in programs.list";
  }
}

}  // namespace

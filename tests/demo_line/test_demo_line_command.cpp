// vesk-demo-line's command line: options are options wherever they stand, and a folder that cannot be written is
// one plain message and status 1, before anything is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "support/command_run.h"
#include "support/temp_dir.h"

namespace vesk::demo {
namespace {

using GeneratorRun = test::CommandRun;

// Runs the generator in `folder` with the (shell-quoted) arguments.
GeneratorRun runGenerator(const std::filesystem::path& folder, const std::string& arguments) {
  const std::string command = "cd '" + folder.string() + "' && " + VESK_DEMO_LINE_PATH + " " + arguments + " 2>&1";
  return test::runCommand(command);
}

struct CommandCase {
  const char* name;
  std::string arguments;
  int status;
  std::string firstLine;
};

void PrintTo(const CommandCase& testCase, std::ostream* out) { *out << testCase.name; }

class DemoLineCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(DemoLineCommand, RefusesBeforeWritingAnything) {
  test::TempDir dir;
  dir.write("a-file", "x");
  const GeneratorRun run = runGenerator(dir.path(), GetParam().arguments);
  EXPECT_EQ(run.status, GetParam().status);
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), GetParam().firstLine) << run.out;
  // Nothing was written where the generator stood, whatever it was given.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, DemoLineCommand,
    testing::Values(CommandCase{"help", "--help", 0, "usage: vesk-demo-line [--no-video] OUTPUT-FOLDER"},
                    CommandCase{"shortHelp", "-h", 0, "usage: vesk-demo-line [--no-video] OUTPUT-FOLDER"},
                    CommandCase{"nothing", "", 1, "vesk-demo-line: no output folder given"},
                    CommandCase{"onlyAnOption", "--no-video", 1, "vesk-demo-line: no output folder given"},
                    CommandCase{"emptyName", "''", 1, "vesk-demo-line: the output folder's name is empty"},
                    CommandCase{"twoFolders", "one two", 1, "vesk-demo-line: one output folder only, not 2 (one, two)"},
                    CommandCase{"unknownOption", "--fast out", 1, "vesk-demo-line: unknown option --fast"},
                    CommandCase{"aFile", "a-file", 1, "vesk-demo-line: a-file is a file, not a folder"},
                    CommandCase{"insideAFile", "a-file/pack", 1,
                                "vesk-demo-line: cannot make the folder a-file/pack: Not a directory"},
                    // Read-only for every user, root included.
                    CommandCase{"readOnly", "/proc", 1,
                                "vesk-demo-line: cannot write into the folder /proc: No such file or directory"}),
    [](const testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST(DemoLineCommand, TakesItsOptionBeforeTheFolder) {
  test::TempDir dir;
  const GeneratorRun run = runGenerator(dir.path(), "--no-video pack");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "pack" / "velmarix.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "pack" / "movie" / "down.avi"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "--no-video"));
}

}  // namespace
}  // namespace vesk::demo

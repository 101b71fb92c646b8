// "plothost --help" and the manual page docs/man/plothost.1 name the same
// options, and those are the options plothost takes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "plothost_run.h"
#include "support/option_names.h"
#include "support/test_files.h"

namespace {

TEST(ManualPage, NamesTheOptionsOfTheHelp) {
    ScratchDir dir;
    const std::string command =
        std::string(HPGL2_PLOTHOST_PATH) + " --help > " + dir.path() + "/help.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const NamedOptions help = OptionsOfHelp(ReadWhole(dir.path() + "/help.txt"));
    const NamedOptions page = OptionsOfManualPage("plothost");
    // The options the command line takes: before the command, of plot, of
    // settings and of the paper edits.
    const std::set<std::string> taken = {
        "--module",        "--app-dir",   "--data-dir",    "-h",
        "--help",          "-o",          "--output",      "--driver",
        "--paper",         "--landscape", "--portrait",    "--scale",
        "--fit",           "--dpi",       "--to",          "--connect-timeout",
        "--write-timeout", "--retry-for", "--output-name", "--save-as",
        "--set",           "--name",      "--width",       "--height"};
    EXPECT_EQ(help.mentioned, taken) << "--help names: " << JoinedOptions(help.mentioned);
    EXPECT_EQ(page.mentioned, help.mentioned)
        << "the manual page names: " << JoinedOptions(page.mentioned)
        << "\n--help names: " << JoinedOptions(help.mentioned);
    // Every option told in a paragraph of its own in one is so in the other.
    EXPECT_EQ(page.entries, help.entries)
        << "the manual page tells: " << JoinedOptions(page.entries)
        << "\n--help tells: " << JoinedOptions(help.entries);
}

}  // namespace

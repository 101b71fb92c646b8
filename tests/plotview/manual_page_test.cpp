// "plotview --help" and the manual page docs/man/plotview.1 name the same
// options, and those are the options plotview takes.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "cli/run_plotview.h"
#include "support/option_names.h"

namespace {

TEST(ManualPage, NamesTheOptionsOfTheHelp) {
    std::ostringstream out, err;
    ASSERT_EQ(plotview::RunPlotview({"--help"}, out, err), 0);
    const NamedOptions help = OptionsOfHelp(out.str());
    const NamedOptions page = OptionsOfManualPage("plotview");
    const std::set<std::string> taken = {
        "-o",        "--output", "--info",  "--dpi",  "--strict", "--lenient-palette",
        "--compare", "--turn",   "--place", "--diff", "-h",       "--help"};
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

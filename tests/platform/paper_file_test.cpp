#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>
#include <string>
#include <vector>

#include "pxrdriver/driver_listing.h"
#include "pxrdriver/paper.h"
#include "support/test_files.h"

namespace {

std::vector<PaperFileProblem> g_told;
void Collect(const char*, const PaperFileProblem& p) {
    g_told.push_back(p);
}

TEST(PaperFile, MalformedLinesAreReportedAndSkipped) {
    ScratchDir dir;
    const std::string file = dir.Write("paper.ini",
                                       "; comment\n"
                                       "9, 2100, 2970, 170, 170, 50, 50, ISO A4\n"
                                       "8, 2970, 4200, 170, 170, 50, 50\n"  // no name
                                       "x, 1, 1, 0, 0, 0, 0, bad number\n"
                                       "7, -5, 10, 0, 0, 0, 0, negative\n"
                                       "6, 99999999999, 10, 0, 0, 0, 0, too large\n"
                                       "\n"
                                       "651, 8410, 11890, 50, 50, 50, 50, A0, roll\r\n");
    g_told.clear();
    HT_SetPaperProblemSink(Collect);
    std::vector<PaperFileProblem> problems;
    const auto papers = HT_ReadPaperFile(file.c_str(), &problems);
    HT_SetPaperProblemSink(nullptr);
    ASSERT_EQ(papers.size(), 2u);
    EXPECT_EQ(papers[0].nPaperID, 9);
    EXPECT_STREQ(papers[0].szPaperName, "ISO A4");
    EXPECT_EQ(papers[0].nTopMargin, 170);
    EXPECT_EQ(papers[0].nLeftMargin, 50);
    EXPECT_STREQ(papers[1].szPaperName, "A0, roll");
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].nLine, 3);
    EXPECT_EQ(problems[0].strMessage, "skipped a paper: the paper has no name");
    EXPECT_EQ(problems[1].strMessage, "skipped a paper: the number is not a whole number");
    EXPECT_EQ(problems[2].strMessage, "skipped a paper: the width is negative");
    EXPECT_EQ(problems[3].nLine, 6);
    EXPECT_EQ(g_told.size(), 4u);
}

TEST(PaperFile, EachProblemIsToldOnceWithTheNativePath) {
    ScratchDir dir;
    const std::string file = dir.Write("paper.ini",
                                       "9, 2100, 2970, 170, 170, 50, 50, ISO A4\n"
                                       "8, x, 4200, 170, 170, 50, 50, ISO A3\n");
    // The framework's callers name it the Windows way.
    const std::string windowsName = dir.path() + "\\paper.ini";
    g_told.clear();
    std::vector<std::string> files;
    static std::vector<std::string>* s_files = nullptr;
    s_files = &files;
    HT_SetPaperProblemSink([](const char* name, const PaperFileProblem& p) {
        s_files->push_back(name);
        g_told.push_back(p);
    });
    // A count query, a fill and a read of its own: the same file three times.
    HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, nullptr, nullptr, windowsName.c_str());
    PaperSize papers[1];
    HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, reinterpret_cast<char*>(papers), nullptr,
                                 windowsName.c_str());
    std::vector<PaperFileProblem> problems;
    HT_ReadPaperFile(windowsName.c_str(), &problems);
    EXPECT_EQ(problems.size(), 1u);  // the caller's own list has it every time
    ASSERT_EQ(g_told.size(), 1u);
    EXPECT_EQ(g_told[0].nLine, 2);
    EXPECT_EQ(files, std::vector<std::string>{file});
    // A line that goes bad in another way is told again.
    dir.Write("paper.ini", "8, 2970, 4200, 170, 170, 50, 50\n");
    HT_ReadPaperFile(windowsName.c_str(), nullptr);
    HT_SetPaperProblemSink(nullptr);
    EXPECT_EQ(g_told.size(), 2u);
}

// Writing the list back changes the lines of the papers that changed and
// nothing else: comments, blank lines and lines that are no paper stay where
// they were, word for word.
TEST(PaperFile, WritingBackKeepsEveryLineThatIsNoPaper) {
    const std::string kFile =
        "; my plotter's papers\n"
        "9,2100,2970,170,170,50,50,ISO A4\n"
        "\n"
        "8, x, 4200, 170, 170, 50, 50, ISO A3 (fix the width)\n"
        "# rolls\n"
        "650, 6100, 10000, 50, 50, 50, 50, Roll\n";
    const PaperSize a4 = {9, "ISO A4", 2100, 2970, 170, 170, 50, 50};
    const PaperSize roll = {650, "Roll", 6100, 10000, 50, 50, 50, 50};
    const PaperSize wider = {650, "Roll", 9140, 10000, 50, 50, 50, 50};
    const PaperSize poster = {651, "Custom Poster", 5100, 7340, 170, 170, 50, 50};
    struct Case {
        const char* what;
        std::string before;
        std::vector<PaperSize> papers;
        std::string after;
    };
    const Case cases[] = {
        {"nothing changed", kFile, {a4, roll}, kFile},
        {"a paper changed",
         kFile,
         {a4, wider},
         "; my plotter's papers\n9,2100,2970,170,170,50,50,ISO A4\n\n"
         "8, x, 4200, 170, 170, 50, 50, ISO A3 (fix the width)\n# rolls\n"
         "650, 9140, 10000, 50, 50, 50, 50, Roll\n"},
        {"a paper deleted",
         kFile,
         {roll},
         "; my plotter's papers\n\n8, x, 4200, 170, 170, 50, 50, ISO A3 (fix the width)\n"
         "# rolls\n650, 6100, 10000, 50, 50, 50, 50, Roll\n"},
        {"a paper added",
         kFile,
         {a4, roll, poster},
         kFile + "651, 5100, 7340, 170, 170, 50, 50, Custom Poster\n"},
        {"added after a last line without its end",
         "# only a comment",
         {poster},
         "# only a comment\n651, 5100, 7340, 170, 170, 50, 50, Custom Poster\n"},
        {"a paper put before another",
         "; c\n650, 6100, 10000, 50, 50, 50, 50, Roll\n",
         {a4, roll},
         "; c\n9, 2100, 2970, 170, 170, 50, 50, ISO A4\n"
         "650, 6100, 10000, 50, 50, 50, 50, Roll\n"},
        {"CR LF lines stay so",
         "; c\r\n650, 6100, 10000, 50, 50, 50, 50, Roll\r\n",
         {wider, poster},
         "; c\r\n650, 9140, 10000, 50, 50, 50, 50, Roll\r\n"
         "651, 5100, 7340, 170, 170, 50, 50, Custom Poster\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string file = dir.Write("paper.ini", c.before);
        HT_SetPaperProblemSink([](const char*, const PaperFileProblem&) {});
        ASSERT_EQ(
            HT_WritePaperFile(file.c_str(), c.papers.data(), static_cast<int>(c.papers.size())), 1);
        HT_SetPaperProblemSink(nullptr);
        EXPECT_EQ(dir.Read("paper.ini"), c.after);
    }
}

TEST(PaperFile, WriteThenReadGivesTheSameRecords) {
    ScratchDir dir;
    PaperSize papers[2] = {};
    papers[0] = {9, "ISO A4", 2100, 2970, 170, 171, 50, 51};
    papers[1] = {650, "", 1, 2, 3, 4, 5, 6};
    std::memset(papers[1].szPaperName, 'n', 63);  // a full name field
    const std::string file = dir.path() + "/paper.ini";
    ASSERT_EQ(HT_WritePaperFile(file.c_str(), papers, 2), 1);
    EXPECT_EQ(HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, nullptr, nullptr, file.c_str()), 2);
    PaperSize back[2];
    ASSERT_EQ(HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, reinterpret_cast<char*>(back),
                                           nullptr, file.c_str()),
              2);
    EXPECT_EQ(std::memcmp(back, papers, sizeof papers), 0);

    WORD ids[2];
    HT_DefaultDeviceCapabilities(DC_PAPERS, reinterpret_cast<char*>(ids), nullptr, file.c_str());
    EXPECT_EQ(ids[1], 650);
    POINT sizes[2];
    HT_DefaultDeviceCapabilities(DC_PAPERSIZE, reinterpret_cast<char*>(sizes), nullptr,
                                 file.c_str());
    EXPECT_EQ(sizes[0].x, 2100);
    EXPECT_EQ(sizes[0].y, 2970);
    EXPECT_EQ(HT_DefaultDeviceCapabilities(7, nullptr, nullptr, file.c_str()), -1);
    // Nothing of the temporary file is left behind.
    EXPECT_EQ(dir.Read("paper.ini.tmp"), "");
}

// A list that grows between the count query and the fill never overflows
// the buffer the count sized.
TEST(PaperFile, FillNeverExceedsTheCountedPapers) {
    ScratchDir dir;
    const std::string file = dir.Write("paper.ini", "9, 2100, 2970, 0, 0, 0, 0, A4\n");
    ASSERT_EQ(HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, nullptr, nullptr, file.c_str()), 1);
    dir.Write("paper.ini", "9, 2100, 2970, 0, 0, 0, 0, A4\n8, 2970, 4200, 0, 0, 0, 0, A3\n");
    PaperSize papers[2] = {};
    papers[1].nPaperID = 12345;
    EXPECT_EQ(HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, reinterpret_cast<char*>(papers),
                                           nullptr, file.c_str()),
              1);
    EXPECT_EQ(papers[0].nPaperID, 9);
    EXPECT_EQ(papers[1].nPaperID, 12345);
}

TEST(PaperFile, FailedWriteKeepsTheOldList) {
    ScratchDir dir;
    const PaperSize paper = {9, "ISO A4", 2100, 2970, 0, 0, 0, 0};
    EXPECT_EQ(HT_WritePaperFile((dir.path() + "/missing/paper.ini").c_str(), &paper, 1), 0);
    EXPECT_EQ(HT_WritePaperFile(nullptr, &paper, 1), 0);
    EXPECT_EQ(HT_WritePaperFile((dir.path() + "/p.ini").c_str(), nullptr, 1), 0);
    EXPECT_EQ(HT_DefaultDeviceCapabilities(HT_DC_PAPERRECORDS, nullptr, nullptr,
                                           (dir.path() + "/none.ini").c_str()),
              0);
}

TEST(PaperFile, ReadOnlyListIsNeverReplaced) {
    ScratchDir dir;
    const std::string path = dir.Write("paper.ini", "9, 2100, 2970, 0, 0, 0, 0, ISO A4\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const PaperSize paper = {8, "ISO A3", 2970, 4200, 0, 0, 0, 0};
    EXPECT_EQ(HT_WritePaperFile(path.c_str(), &paper, 1), 0);
    EXPECT_EQ(dir.Read("paper.ini"), "9, 2100, 2970, 0, 0, 0, 0, ISO A4\n");
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(HT_WritePaperFile(path.c_str(), &paper, 1), 1);
}

TEST(DriverListing, SectionsAfterTheFrameworksOwnString) {
    ScratchDir dir;
    const std::string ini = dir.Write("hpgl2.ini", "[A]\nx=1\n[OCE B]\n[A]\n");
    const int size = HT_ListCloseDriver(nullptr, 0, ini.c_str());
    const std::string expected = ini + std::string("\0A\0OCE B\0A\0\0", 12);
    ASSERT_EQ(size, static_cast<int>(expected.size()));
    std::string buffer(static_cast<size_t>(size), '#');
    EXPECT_EQ(HT_ListCloseDriver(buffer.data(), size, ini.c_str()), size);
    EXPECT_EQ(buffer, expected);
    // A short buffer holds whole names only, still doubly terminated.
    std::string cut(ini.size() + 4, '#');
    EXPECT_EQ(HT_ListCloseDriver(cut.data(), static_cast<int>(cut.size()), ini.c_str()),
              static_cast<int>(ini.size() + 4));
    EXPECT_EQ(cut.substr(ini.size(), 4), std::string("\0A\0\0", 4));
    EXPECT_EQ(HT_ListCloseDriver(nullptr, 0, (dir.path() + "/none.ini").c_str()), 0);
}

}  // namespace

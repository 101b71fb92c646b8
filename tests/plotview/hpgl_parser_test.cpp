#include <gtest/gtest.h>

#include <string>

#include "reader/hpgl_parser.h"
#include "plotview/plot_bytes.h"

namespace {

using plot::CommandKind;
using plot::ParsePlotStream;
using namespace plotbytes;

TEST(HpglParser, SplitsTheJobFrame) {
    const std::string stream = ESC
                               "%-12345X@PJL JOB NAME = \"x\"\r\n@PJL ENTER LANGUAGE = HPGL2 \r\n" +
                               Header() + "NP256PC3,0,128,255PW0.09" + kEnd;
    const auto parsed = ParsePlotStream(stream);
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    std::string kinds, mnemonics;
    for (const auto& c : parsed.commands) {
        kinds += "JUEHP"[int(c.kind)];
        if (c.kind == CommandKind::Hpgl) mnemonics += c.text + " ";
    }
    // UEL, two PJL lines, ESC%0B, BP PS EC RO IP IR TR MC WU SC CR SP NP PC PW
    // PU SP PG, UEL, the EOJ line.
    EXPECT_EQ(kinds, "UJJEHHHHHHHHHHHHHHHHHHUJ");
    EXPECT_EQ(mnemonics, "BP PS EC RO IP IR TR MC WU SC CR SP NP PC PW PU SP PG ");
    const auto& pc = parsed.commands[17];
    EXPECT_EQ(pc.text, "PC");
    EXPECT_EQ(pc.params, (std::vector<double>{3, 0, 128, 255}));
    EXPECT_DOUBLE_EQ(parsed.commands[18].params.at(0), 0.09);
    EXPECT_EQ(parsed.commands.back().text, "@PJL EOJ ");
}

TEST(HpglParser, EscapeSequencesWithDataAndCombinedParameters) {
    const std::string stream = ESC "*v6W" + std::string("\0\x03\x03\x08\x08\x08", 6) +
                               ESC "*v10a20b30c7I" ESC "*b2W\x1b;" ESC "v1N";
    const auto parsed = ParsePlotStream(stream);
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    ASSERT_EQ(parsed.commands.size(), 4u);
    EXPECT_EQ(parsed.commands[0].escape.parts[0].data, std::string("\0\x03\x03\x08\x08\x08", 6));
    const auto& palette = parsed.commands[1].escape;
    ASSERT_EQ(palette.parts.size(), 4u);
    EXPECT_EQ(palette.parts[3].parameter, 'I');
    EXPECT_EQ(palette.parts[2].value, 30);
    EXPECT_EQ(parsed.commands[2].escape.parts[0].data, "\x1b;") << "data may hold an escape";
    EXPECT_EQ(parsed.commands[3].escape.letter, 'v');
    EXPECT_EQ(plot::Describe(parsed.commands[1]), "\\e*v10a20b30c7I");
}

TEST(HpglParser, MalformedStreamsFailAtTheirOffset) {
    const std::string hp = ESC "%0B";  // 4 bytes
    const struct {
        std::string stream;
        size_t offset;
        std::string message;
        bool truncated = false;  // the stream ends inside the command
    } cases[] = {
        {hp + "PE\x47;", 7, "number cut short"},
        {hp + "PE\xbf;", 7, "after an x coordinate"},
        {hp + "PE\x80\xbf\xbf;", 6, "byte 0x80 in \"PE\" data"},
        {hp + "PE>\xbf\xbf;", 6, "flag '>'"},
        {hp + "PE7\xbf\xbf;", 6, "flag '7'"},
        {hp + "PE\xbf<\xbf;", 7, "flag inside a coordinate pair"},
        {hp + "PE<;", 7, "flag without a coordinate pair"},
        {hp + "PE\x3f\x3f\x3f\x3f\x3f\x3f\x3f\x3f\xbf\xbf;", 14, "more than 8 digits"},
        {hp + "PE\xbf\xbf", 4, "not closed", true},
        {hp + "SP1;\x01", 8, "byte 0x01 where an HP-GL/2 instruction"},
        {hp + "SP1,#", 8, "byte 0x23 in the parameters of SP"},
        {hp + "LBtext", 4, "text parameters"},
        {hp + "S", 4, "incomplete HP-GL/2 mnemonic", true},
        {ESC "%1Aabc", 4, "outside an escape sequence in PCL/RTL mode"},
        {ESC "*b5W\x01\x02", 0, "announces 5 data bytes, 2 are left", true},
        {ESC "*r1\x01", 4, "bad parameter byte 0x01"},
        {ESC "*r12", 0, "cut short", true},
        {ESC, 0, "escape at the end", true},
        {ESC "\x05", 1, "after an escape"},
        {ESC "%-12345XPJL", 9, "expected \"@PJL\""},
    };
    for (const auto& c : cases) {
        const auto parsed = ParsePlotStream(c.stream);
        EXPECT_FALSE(parsed.Ok()) << c.message;
        EXPECT_EQ(parsed.errorOffset, c.offset) << c.message << ": " << parsed.error;
        EXPECT_NE(parsed.error.find(c.message), std::string::npos) << parsed.error;
        EXPECT_EQ(parsed.truncated, c.truncated) << c.message;
    }
    // A "PE" cut short keeps the pairs read whole, so that they are drawn.
    const auto cut = ParsePlotStream(hp + "PE\xbf\xbf\xc1");
    EXPECT_TRUE(cut.truncated);
    ASSERT_EQ(cut.commands.size(), 2u);
    EXPECT_EQ(cut.commands[1].vertices.size(), 1u);
}

TEST(HpglParser, ToleratedOddities) {
    // The standalone page's end has a blank after the universal exit, and a
    // "PE" may be cut off by an escape: both read, both reported.
    const auto parsed = ParsePlotStream(ESC "%0BPE\xbf\xbf" ESC "%-12345X @PJL EOJ");
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    EXPECT_TRUE(parsed.commands[1].peUnterminated);
    ASSERT_EQ(parsed.warnings.size(), 2u);
    EXPECT_NE(parsed.warnings[0].find("ended by an escape"), std::string::npos);
    EXPECT_NE(parsed.warnings[1].find("blank between"), std::string::npos);
    EXPECT_EQ(parsed.commands.back().text, "@PJL EOJ");
}

}  // namespace

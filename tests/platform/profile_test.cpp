#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <windows.h>

#include "support/test_files.h"

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        ini = dir.Write("t.ini",
                        "; comment\r\n"
                        "[Plotter]\r\n"
                        "  Name  =  \"Quoted value\"  \r\n"
                        "Single='x'\r\n"
                        "Count=42\r\n"
                        "Negative=-1\r\n"
                        "Hex=0x1F\r\n"
                        "Junk=12abc\r\n"
                        "Empty=\r\n"
                        "[plotter]\r\n"
                        "Count=7\r\n"
                        "[Other]\r\n"
                        "Count=3\r\n");
    }
    std::string Get(const char* section, const char* key, const char* fallback = "dflt",
                    DWORD size = 256) {
        char buffer[256];
        std::memset(buffer, '#', sizeof buffer);
        const DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer, size, ini.c_str());
        EXPECT_EQ(n, std::strlen(buffer));
        return buffer;
    }
    ScratchDir dir;
    std::string ini;
};

TEST_F(Profile, StringsAsWindowsReadsThem) {
    EXPECT_EQ(Get("plotter", "NAME"), "Quoted value");  // names ignore case, quotes go
    EXPECT_EQ(Get("Plotter", "Single"), "x");
    EXPECT_EQ(Get("Plotter", "Empty"), "");
    EXPECT_EQ(Get("Plotter", "Missing"), "dflt");
    EXPECT_EQ(Get("Plotter", "Missing", "trailing   "), "trailing");
    EXPECT_EQ(Get("Plotter", "Missing", nullptr), "");
    EXPECT_EQ(Get("Nowhere", "Name"), "dflt");
    EXPECT_EQ(Get("Plotter", "Name", "", 7), "Quoted");  // cut to the buffer, NUL kept
    EXPECT_EQ(Get("Plotter", "Count"), "42");            // the first of two sections
}

TEST_F(Profile, IntegersAsWindowsReadsThem) {
    struct Case {
        const char* key;
        int fallback;
        UINT expected;
    };
    const Case cases[] = {
        {"Count", 5, 42}, {"Negative", 5, 0xFFFFFFFFu},           {"Hex", 5, 31}, {"Junk", 5, 12},
        {"Empty", 5, 5},  {"Missing", -3, static_cast<UINT>(-3)}, {"Name", 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPrivateProfileIntA("PLOTTER", c.key, c.fallback, ini.c_str()), c.expected)
            << c.key;
    EXPECT_EQ(GetPrivateProfileIntA("Plotter", "Count", 9, "/no/such/file.ini"), 9u);
    // A path written the Windows way names the same file.
    std::string windowsPath = ini;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    EXPECT_EQ(GetPrivateProfileIntA("Plotter", "Count", 0, windowsPath.c_str()), 42u);
}

TEST_F(Profile, SectionNamesListEveryHeaderInOrder) {
    char buffer[64];
    const DWORD n = GetPrivateProfileSectionNamesA(buffer, sizeof buffer, ini.c_str());
    EXPECT_EQ(std::string(buffer, n + 1), std::string("Plotter\0plotter\0Other\0\0", 23));
    // Too small: cut, still doubly terminated, size - 2 returned.
    char small[11];
    EXPECT_EQ(GetPrivateProfileSectionNamesA(small, sizeof small, ini.c_str()), 9u);
    EXPECT_EQ(std::string(small, 11), std::string("Plotter\0p\0\0", 11));
    // Regression: a name that fills the buffer to its last byte, then another.
    char exact[9];
    EXPECT_EQ(GetPrivateProfileSectionNamesA(exact, sizeof exact, ini.c_str()), 7u);
    EXPECT_EQ(std::string(exact, 9), std::string("Plotter\0\0", 9));
}

// The structure form: two upper-case hex digits per byte, then the low byte
// of the sum of all bytes.
TEST_F(Profile, StructEncodingAndChecks) {
    const BYTE bytes[] = {0x01, 0xAB, 0xFF, 0x00};
    ASSERT_TRUE(WritePrivateProfileStructA("S", "K", const_cast<BYTE*>(bytes), 4, ini.c_str()));
    // 0x01 + 0xAB + 0xFF + 0x00 = 0x1AB -> checksum AB
    EXPECT_EQ(Get("S", "K"), "01ABFF00AB");
    BYTE back[4] = {};
    EXPECT_TRUE(GetPrivateProfileStructA("S", "K", back, 4, ini.c_str()));
    EXPECT_EQ(std::memcmp(back, bytes, 4), 0);

    const struct {
        const char* value;
        UINT size;
    } refused[] = {
        {"01ABFF00AC", 4},   // checksum off by one
        {"01ABFF00AB", 3},   // other length
        {"01ABFF00A", 4},    // odd digit count
        {"01ABFF00ABB", 4},  // one digit too many
        {"01ABFG00AB", 4},   // not a digit
    };
    for (const auto& c : refused) {
        WritePrivateProfileStringA("S", "K", c.value, ini.c_str());
        BYTE untouched[4] = {9, 9, 9, 9};
        EXPECT_FALSE(GetPrivateProfileStructA("S", "K", untouched, c.size, ini.c_str())) << c.value;
        EXPECT_EQ(untouched[0], 9) << c.value;
    }
    WritePrivateProfileStringA("S", "K", "01abff00ab", ini.c_str());  // lower case reads too
    EXPECT_TRUE(GetPrivateProfileStructA("S", "K", back, 4, ini.c_str()));
}

TEST_F(Profile, WritesReplaceAddAndDelete) {
    EXPECT_TRUE(WritePrivateProfileStringA("plotter", "count", "8", ini.c_str()));
    EXPECT_EQ(Get("Plotter", "Count"), "8");
    EXPECT_TRUE(WritePrivateProfileStringA("New", "Key", "v", ini.c_str()));
    EXPECT_EQ(Get("new", "key"), "v");
    EXPECT_TRUE(WritePrivateProfileStringA("New", "Key", nullptr, ini.c_str()));
    EXPECT_EQ(Get("New", "Key"), "dflt");
    EXPECT_TRUE(WritePrivateProfileStringA("Other", nullptr, nullptr, ini.c_str()));
    EXPECT_EQ(Get("Other", "Count"), "dflt");
    EXPECT_EQ(Get("Plotter", "Name"), "Quoted value");  // the rest of the file stays
}

TEST(GlobalMemory, HandlesLockSizeAndFree) {
    HGLOBAL h = GlobalAlloc(GHND, 1180);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 1180u);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 1180; ++i) ASSERT_EQ(p[i], 0) << i;
    EXPECT_FALSE(GlobalUnlock(h));  // lock count back to 0
    EXPECT_EQ(GlobalFree(h), nullptr);
    // A freed or foreign handle is refused, not followed.
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GlobalSize(h), 0u);
    int local = 0;
    EXPECT_EQ(GlobalLock(&local), nullptr);
    EXPECT_EQ(GlobalFree(&local), &local);
    EXPECT_EQ(GlobalAlloc(GHND, static_cast<SIZE_T>(-1)), nullptr);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/hpgl2_driver.h"
#include "support/scratch_config.h"

namespace {

HPGL2DevMode Defaults() {
    HPGL2DevMode r;
    FillDefaultDevMode(&r);
    return r;
}

TEST(DriverSettings, SectionWithOnlyANameGetsTheConstructedDefaults) {
    ScratchConfig config;
    config.Write("hpgl2.ini", "[P1]\nName=Plotter one\n");
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "p1");  // sections ignore case
    EXPECT_STREQ(driver.GetName(), "Plotter one");
    const HPGL2DevMode& r = driver.m_devmode;
    EXPECT_EQ(r.nTransaction, 0);
    EXPECT_EQ(r.nColorMode, 1);
    EXPECT_EQ(r.nClipMode, 0);  // the key's default, not the record's 7
    EXPECT_EQ(r.dm.dmPaperSize, 9);
    EXPECT_EQ(r.nPaperWidth, 2100);
    EXPECT_EQ(r.nPaperLength, 2970);
    EXPECT_EQ(r.dm.dmPrintQuality, 300);
    EXPECT_EQ(r.nMarginLeft, 50);
    EXPECT_EQ(r.nMarginRight, 50);
    EXPECT_EQ(r.nMarginTop, 170);
    EXPECT_EQ(r.nMarginBottom, 170);
    EXPECT_EQ(driver.m_strPrivateFile, config.Ini());
    EXPECT_EQ(driver.m_strSection, "p1");
    // Without "PaperFile" the paper path names the ini path under the data folder.
    EXPECT_EQ(driver.m_strPaperFile, config.path() + "\\" + config.path() + "\\hpgl2.ini");
    HPGL2Driver missing(nullptr, config.Ini().c_str(), "nowhere");
    EXPECT_STREQ(missing.GetName(), "KEST HPGL/2 1.0");
}

TEST(DriverSettings, PrivateFileHoldsTheSettingsKeys) {
    ScratchConfig config;
    config.Write("hpgl2.ini",
                 "[P]\nName=Shared\nPrivateFile=own.ini\nPaperFile=papers.ini\nCOLOR=0\n");
    config.Write("own.ini", "[General]\nEMFSPOOLING=1\nCLIPPER=5\nRENDERMODE=0x1FF\nCOLOR=2\n");
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    EXPECT_STREQ(driver.GetName(), "Shared");
    EXPECT_EQ(driver.m_strPrivateFile, config.path() + "\\own.ini");
    EXPECT_EQ(driver.m_strSection, "General");
    EXPECT_EQ(driver.m_strPaperFile, config.path() + "\\papers.ini");
    EXPECT_EQ(driver.m_devmode.nTransaction, 1);
    EXPECT_EQ(driver.m_devmode.nClipMode, 5);
    EXPECT_EQ(driver.m_devmode.bRenderMode, 0xFF);  // low byte only
    EXPECT_EQ(driver.m_devmode.nColorMode, 2);      // not the 0 of hpgl2.ini
}

// ALLSETTING values written the Windows way load byte for byte; any damage
// leaves the defaults and single keys in force.
TEST(DriverSettings, AllSettingRoundTripAndDamage) {
    HPGL2DevMode stored = Defaults();
    stored.dm.dmPrintQuality = 600;
    stored.nTransaction = 2;
    stored.nHeadMask = 0x801;
    std::strcpy(stored.szControlCode, "\\033E");

    using RecordDamage = void (*)(HPGL2DevMode*);
    using TextDamage = void (*)(std::string*);
    struct Case {
        const char* name;
        RecordDamage record;
        TextDamage text;
        bool accepted;
    };
    const Case cases[] = {
        {"intact", nullptr, nullptr, true},
        {"bad checksum", nullptr, [](std::string* v) { v->back() ^= 1; }, false},
        {"odd digit count", nullptr, [](std::string* v) { v->pop_back(); }, false},
        {"one byte short", nullptr, [](std::string* v) { v->erase(v->size() - 4, 2); }, false},
        {"not hex", nullptr, [](std::string* v) { (*v)[10] = 'G'; }, false},
        {"other driver extra", [](HPGL2DevMode* r) { r->dm.dmDriverExtra = 1000; }, nullptr, false},
        {"other size", [](HPGL2DevMode* r) { r->dm.dmSize = 148; }, nullptr, false},
        {"other driver version", [](HPGL2DevMode* r) { r->dm.dmDriverVersion = 3; }, nullptr,
         false},
        {"other spec version", [](HPGL2DevMode* r) { r->dm.dmSpecVersion = 0x401; }, nullptr,
         false},
    };
    for (const Case& c : cases) {
        ScratchConfig config;
        config.Write("hpgl2.ini", "[P]\nCOLOR=2\nCLIPPER=3\n");
        HPGL2DevMode record = stored;
        if (c.record) c.record(&record);
        ASSERT_TRUE(WritePrivateProfileStructA("P", "ALLSETTING", &record, sizeof record,
                                               config.Ini().c_str()));
        if (c.text) {
            char value[4096];
            GetPrivateProfileStringA("P", "ALLSETTING", "", value, sizeof value,
                                     config.Ini().c_str());
            std::string text = value;
            c.text(&text);
            WritePrivateProfileStringA("P", "ALLSETTING", text.c_str(), config.Ini().c_str());
        }

        HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
        if (c.accepted) {
            EXPECT_EQ(std::memcmp(&driver.m_devmode, &stored, sizeof stored), 0) << c.name;
        } else {
            EXPECT_EQ(driver.m_devmode.dm.dmPrintQuality, 300) << c.name;
            EXPECT_EQ(driver.m_devmode.nColorMode, 2) << c.name;
            EXPECT_EQ(driver.m_devmode.nClipMode, 3) << c.name;
        }
    }
}

HGLOBAL NewHandle(size_t size, WORD driverExtra) {
    HGLOBAL h = GlobalAlloc(GHND, size);
    auto* r = static_cast<HPGL2DevMode*>(GlobalLock(h));
    if (size >= sizeof(DEVMODEA)) r->dm.dmDriverExtra = driverExtra;
    GlobalUnlock(h);
    return h;
}

TEST(DriverSettings, DevModeExchange) {
    ScratchConfig config;
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    EXPECT_EQ(driver.GetDevMode(nullptr), 1);

    HGLOBAL out = NewHandle(sizeof(HPGL2DevMode), 1024);
    ASSERT_EQ(driver.GetDevMode(out), 1);
    auto* r = static_cast<HPGL2DevMode*>(GlobalLock(out));
    EXPECT_EQ(std::memcmp(r, &driver.m_devmode, sizeof *r), 0);
    r->nColorMode = 2;
    r->dm.dmPrintQuality = 150;
    GlobalUnlock(out);
    ASSERT_EQ(driver.SetDevMode(out), 1);
    EXPECT_EQ(driver.m_devmode.nColorMode, 2);
    EXPECT_EQ(driver.m_devmode.dm.dmPrintQuality, 150);
    GlobalFree(out);

    // Another private size, a block too small for the record, a dead handle:
    // refused, nothing copied either way.
    const HPGL2DevMode before = driver.m_devmode;
    HGLOBAL other = NewHandle(sizeof(HPGL2DevMode), 512);
    HGLOBAL small = NewHandle(sizeof(DEVMODEA) + 16, 1024);
    EXPECT_EQ(driver.SetDevMode(other), 0);
    EXPECT_EQ(driver.GetDevMode(other), 0);
    EXPECT_EQ(driver.SetDevMode(small), 0);
    EXPECT_EQ(driver.GetDevMode(small), 0);
    EXPECT_EQ(GlobalSize(small), sizeof(DEVMODEA) + 16);
    GlobalFree(other);
    GlobalFree(small);
    EXPECT_EQ(driver.SetDevMode(small), 0);
    EXPECT_EQ(driver.SetDevMode(nullptr), 0);
    EXPECT_EQ(std::memcmp(&before, &driver.m_devmode, sizeof before), 0);
}

TEST(DriverSettings, DefaultDevModeIsOneHandleWithTheRecordDefaults) {
    ScratchConfig config;
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    HGLOBAL first = driver.GetDefaultDevMode();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(driver.GetDefaultDevMode(), first);
    EXPECT_EQ(GlobalSize(first), sizeof(HPGL2DevMode));
    const HPGL2DevMode expected = Defaults();
    EXPECT_EQ(std::memcmp(GlobalLock(first), &expected, sizeof expected), 0);
    GlobalUnlock(first);
}

TEST(DriverSettings, QueryDriverInterfaceKnowsOneIdentifier) {
    ScratchConfig config;
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    void* object = nullptr;
    EXPECT_EQ(driver.QueryDriverInterface(IID_HPGL2Driver, &object), 1);
    EXPECT_EQ(object, &driver);
    EXPECT_EQ(driver.QueryDriverInterface(IID_HPGL2Driver, nullptr), 1);
    GUID other = IID_HPGL2Driver;
    other.Data4[7] ^= 1;
    object = nullptr;
    EXPECT_EQ(driver.QueryDriverInterface(other, &object), 0);
    EXPECT_EQ(object, nullptr);
}

TEST(DriverSettings, ReservedSlotsAnswerAsTheFrameworkSays) {
    ScratchConfig config;
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    HT_IF& slots = driver;
    EXPECT_EQ(slots.Reserved3(0), 1);
    EXPECT_EQ(slots.Reserved6(0), 1);
    EXPECT_EQ(slots.Reserved7(0), 1);
    EXPECT_EQ(slots.Reserved14(0), 0);
    EXPECT_EQ(slots.Reserved15("x", 1, 2, 3, 4, 5, 6, 0), 0);
}

}  // namespace

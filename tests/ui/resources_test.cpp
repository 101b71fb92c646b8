#include <gtest/gtest.h>

#include <afxwin.h>
#include <optional>
#include <string>
#include <vector>

#include "ui/module_resources.h"
#include "ui/module_strings.h"
#include "ui/resources/resource_ids.h"

namespace {

const LANGID kLanguages[] = {
    MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT),
    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL),
    MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
};

std::optional<DialogTemplate> TemplateIn(int id, LANGID language) {
    HMODULE module = ModuleResourceHandle();
    HRSRC found = FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id), language);
    if (!found) return std::nullopt;
    return ParseDialogTemplate(
        static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found))),
        SizeofResource(module, found));
}

struct Placed {
    int id;
    const char* cls;
    short x, y, cx, cy;
};

void ExpectControls(int dialogId, short cx, short cy, const std::vector<Placed>& expected) {
    for (LANGID language : kLanguages) {
        SCOPED_TRACE("dialog " + std::to_string(dialogId) + " language " +
                     std::to_string(language));
        const auto t = TemplateIn(dialogId, language);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(t->cx, cx);
        EXPECT_EQ(t->cy, cy);
        EXPECT_FALSE(t->strCaption.empty());
        for (const Placed& p : expected) {
            SCOPED_TRACE(p.id);
            const DialogItemTemplate* item = nullptr;
            for (const auto& i : t->items)
                if (i.nId == p.id) item = &i;
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->strClass, p.cls);
            EXPECT_EQ(item->x, p.x);
            EXPECT_EQ(item->y, p.y);
            EXPECT_EQ(item->cx, p.cx);
            EXPECT_EQ(item->cy, p.cy);
        }
    }
}

TEST(ModuleResources, SettingsDialogHoldsEveryControlAtItsPlace) {
    ExpectControls(IDD_HPGL2_CUSTOM, 276, 218,
                   {{3000, "ComboBox", 22, 35, 99, 131},
                    {3001, "Edit", 140, 35, 91, 14},
                    {1010, "Button", 21, 62, 82, 13},
                    {1011, "Button", 21, 73, 110, 13},
                    {1012, "Button", 21, 86, 28, 13},
                    {1013, "ComboBox", 51, 86, 107, 150},
                    {1014, "Button", 181, 65, 68, 10},
                    {1015, "Button", 181, 78, 32, 10},
                    {1016, "Button", 181, 91, 32, 10},
                    {1003, "ComboBox", 55, 112, 136, 194},
                    {1004, "Button", 197, 111, 61, 14},
                    {1005, "Edit", 55, 145, 55, 14},
                    {1006, "Edit", 55, 162, 55, 14},
                    {1007, "Edit", 166, 145, 55, 14},
                    {1008, "Edit", 166, 162, 55, 14},
                    {1020, "Static", 16, 186, 34, 21},
                    {1019, "Button", 69, 190, 50, 14},
                    {1, "Button", 136, 190, 50, 14},
                    {2, "Button", 201, 190, 50, 14}});
}

TEST(ModuleResources, CustomPaperDialogHoldsEveryControlAtItsPlace) {
    ExpectControls(IDD_CUSTOM_PAPER, 256, 125,
                   {{1003, "ComboBox", 62, 15, 185, 121},
                    {3010, "Edit", 30, 48, 33, 14},
                    {3011, "Edit", 30, 63, 33, 14},
                    {1023, "Edit", 105, 48, 33, 14},
                    {3013, "Edit", 105, 63, 33, 14},
                    {3008, "Edit", 186, 48, 47, 14},
                    {3009, "Edit", 186, 63, 47, 14},
                    {1015, "msctls_updown32", 90, 84, 11, 10},
                    {1011, "msctls_updown32", 125, 84, 11, 10},
                    {1012, "msctls_updown32", 143, 84, 11, 10},
                    {1010, "msctls_updown32", 109, 82, 12, 10},
                    {1021, "msctls_updown32", 171, 84, 10, 14},
                    {1024, "msctls_updown32", 183, 82, 10, 14},
                    {3, "Button", 21, 104, 42, 14},
                    {1, "Button", 98, 104, 42, 14},
                    {2, "Button", 175, 104, 42, 14}});
}

TEST(ModuleResources, AdvanceAndProgressDialogsHoldEveryControlAtItsPlace) {
    ExpectControls(IDD_HP_ADVANCE, 288, 217,
                   {{1021, "Button", 14, 23, 72, 13},
                    {1022, "Button", 14, 38, 72, 13},
                    {1023, "Button", 14, 53, 73, 13},
                    {1024, "Button", 14, 68, 83, 13},
                    {1029, "Button", 14, 83, 72, 13},
                    {1025, "Button", 103, 23, 60, 13},
                    {1026, "Button", 103, 39, 60, 13},
                    {1027, "Button", 103, 59, 60, 13},
                    {1028, "Button", 103, 79, 60, 13},
                    {1016, "ComboBox", 223, 22, 50, 117},
                    {1013, "ComboBox", 223, 39, 50, 93},
                    {1030, "Button", 179, 61, 91, 14},
                    {1033, "Edit", 224, 80, 50, 14},
                    {1035, "Button", 14, 104, 66, 12},
                    {1034, "Edit", 7, 117, 274, 77},
                    {1, "Button", 78, 196, 50, 14},
                    {2, "Button", 154, 196, 50, 14}});
    ExpectControls(IDD_PRINT_PROGRESS, 197, 63,
                   {{2, "Button", 69, 42, 50, 14}, {1017, "msctls_progress32", 7, 7, 183, 17}});
}

TEST(ModuleResources, ControlStylesMatchTheirKinds) {
    const auto t = TemplateIn(IDD_CUSTOM_PAPER, kLanguages[0]);
    ASSERT_TRUE(t);
    for (const auto& item : t->items) {
        if (item.nId == 3010 || item.nId == 3011 || item.nId == 1023 || item.nId == 3013) {
            EXPECT_TRUE(item.dwStyle & ES_READONLY) << item.nId;
        }
        if (item.nId == 1015 || item.nId == 1010 || item.nId == 1021 || item.nId == 1024) {
            EXPECT_TRUE(item.dwStyle & WS_DISABLED) << item.nId;
        }
        if (item.nId == 1011 || item.nId == 1012) {
            EXPECT_FALSE(item.dwStyle & WS_DISABLED) << item.nId;
            EXPECT_EQ(item.dwStyle & (UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_ALIGNRIGHT),
                      static_cast<DWORD>(UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_ALIGNRIGHT));
        }
        if (item.nId == 1) {
            EXPECT_EQ(item.dwStyle & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
        }
        if (item.nId == 1003) {
            EXPECT_EQ(item.dwStyle & CBS_TYPEMASK, static_cast<DWORD>(CBS_DROPDOWN));
        }
    }
    const auto main = TemplateIn(IDD_HPGL2_CUSTOM, kLanguages[0]);
    ASSERT_TRUE(main);
    for (const auto& item : main->items) {
        if (item.nId == 3001) {
            EXPECT_TRUE(item.dwStyle & ES_NUMBER);
        }
        if (item.nId == 1020) {
            EXPECT_EQ(item.dwStyle & SS_TYPEMASK, static_cast<DWORD>(SS_BITMAP));
            EXPECT_EQ(item.nTextOrdinal, IDB_LOGO);
        }
    }
    EXPECT_NE(FindResourceA(ModuleResourceHandle(), MAKEINTRESOURCEA(IDB_LOGO), RT_BITMAP),
              nullptr);
}

TEST(ModuleResources, EnglishTextsAreTheSystemsOwn) {
    const auto main = TemplateIn(IDD_HPGL2_CUSTOM, kLanguages[0]);
    ASSERT_TRUE(main);
    EXPECT_EQ(main->strCaption, "KEST HP Plotter Driver");
    std::vector<std::string> texts;
    for (const auto& item : main->items) texts.push_back(item.strText);
    // The full-width colon (U+FF1A) ends the two resolution labels.
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Resolution(&V)\xEF\xBC\x9A"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Customized resolution(&U)\xEF\xBC\x9A"),
              texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Transaction document "), texts.end());
    EXPECT_EQ(TemplateIn(IDD_PRINT_PROGRESS, kLanguages[0])->strCaption, "Plot transaction");
    EXPECT_EQ(TemplateIn(IDD_HP_ADVANCE, kLanguages[0])->strCaption, "Advanced option");
    EXPECT_EQ(TemplateIn(IDD_CUSTOM_PAPER, kLanguages[0])->strCaption, "Customized Paper");
}

TEST(ModuleResources, EveryMessageLoadsInEveryLanguage) {
    const UINT ids[] = {107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 119,
                        120, 200, 201, 210, 211, 212, 213, 214, 215, 216, 217};
    std::vector<std::vector<std::string>> byLanguage;
    for (LANGID language : kLanguages) {
        SetResourceLanguage(language);
        std::vector<std::string> texts;
        for (UINT id : ids) {
            const CString text = LoadModuleString(id);
            EXPECT_FALSE(text.IsEmpty()) << id << " in " << language;
            texts.push_back(text.str());
        }
        byLanguage.push_back(texts);
    }
    SetResourceLanguage(0);
    // The translations are translations: a message of 107..116 differs from its English text.
    for (size_t lang = 1; lang < byLanguage.size(); ++lang)
        for (size_t i = 0; i < 10; ++i) EXPECT_NE(byLanguage[lang][i], byLanguage[0][i]) << ids[i];
    EXPECT_EQ(byLanguage[0][1],
              "Specified paper is not existing\xEF\xBC\x8C"
              "can not be deleted");
    EXPECT_EQ(byLanguage[0][9], "Please enter an positive integer between 1~%d");
    for (const auto& texts : byLanguage) {
        EXPECT_EQ(texts[10], "Custom ");  // part of the stored names, never translated
        EXPECT_NE(texts[9].find("%d"), std::string::npos);
    }
    // Simplified Chinese 119: "KEST 奥西打印驱动"
    EXPECT_EQ(byLanguage[1][11],
              "KEST \xE5\xA5\xA5\xE8\xA5\xBF\xE6\x89\x93\xE5\x8D\xB0\xE9\xA9\xB1\xE5\x8A\xA8");
}

TEST(FrameworkResources, ExchangeMessagesLoadInEveryLanguage) {
    const UINT ids[] = {0xF110, 0xF111, 0xF114, 0xF117};
    const char* const english[] = {"Please enter an integer.", "Please enter a number.",
                                   "Please enter no more than %1 characters.",
                                   "Please enter a positive integer."};
    for (size_t lang = 0; lang < std::size(kLanguages); ++lang) {
        SetResourceLanguage(kLanguages[lang]);
        for (size_t i = 0; i < std::size(ids); ++i) {
            const std::string text = AfxFrameworkString(ids[i]);
            if (lang == 0)
                EXPECT_EQ(text, english[i]);
            else
                EXPECT_TRUE(!text.empty() && text != english[i]) << ids[i] << " in " << lang;
        }
        EXPECT_NE(AfxFrameworkString(0xF114).find("%1"), std::string::npos);
    }
    SetResourceLanguage(0);
}

TEST(ModuleResources, MissingStringsAreEmptyAndModulesAreFoundByName) {
    EXPECT_TRUE(LoadModuleString(118).IsEmpty());
    EXPECT_TRUE(LoadModuleString(60000).IsEmpty());
    EXPECT_FALSE(LoadModuleString(107, nullptr, "hpgl2.pxr").IsEmpty());  // names ignore case
    EXPECT_FALSE(LoadModuleString(107, nullptr, "C:\\Kest\\Drivers\\HPGL2.PXR").IsEmpty());
    EXPECT_FALSE(
        LoadModuleString(107, nullptr, "no-such.pxr").IsEmpty());  // falls back to this one
}

TEST(ModuleResources, LanguageFollowsTheLocale) {
    struct Case {
        const char* locale;
        const char* message107;
    };
    const Case cases[] = {
        {"zh_CN.UTF-8", "\xE4\xBF\xAE\xE6\x94\xB9\xE7\xBA\xB8\xE5\xBC\xA0"},  // 修改纸张
        {"zh_SG", "\xE4\xBF\xAE\xE6\x94\xB9\xE7\xBA\xB8\xE5\xBC\xA0"},
        {"zh_TW.UTF-8", "\xE4\xBF\xAE\xE6\x94\xB9\xE7\xB4\x99\xE5\xBC\xB5"},  // 修改紙張
        {"zh_HK", "\xE4\xBF\xAE\xE6\x94\xB9\xE7\xB4\x99\xE5\xBC\xB5"},
        {"ja_JP.UTF-8", "\xE7\x94\xA8\xE7\xB4\x99"},  // 用紙
        {"de_DE.UTF-8", "Fail to Modify"},
        {"C", "Fail to Modify"},
    };
    const char* saved = std::getenv("LC_ALL");
    const std::string savedValue = saved ? saved : "";
    for (const Case& c : cases) {
        setenv("LC_ALL", c.locale, 1);
        EXPECT_EQ(LoadModuleString(107).str().rfind(c.message107, 0), 0u) << c.locale;
    }
    if (saved)
        setenv("LC_ALL", savedValue.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

}  // namespace

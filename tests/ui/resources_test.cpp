#include <gtest/gtest.h>

#include <afxwin.h>
#include <algorithm>
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

// Each language lays its dialogs out for its own texts (the GTK suite
// measures them), but every language has the same controls: the same ids,
// classes and styles in the same order, which is the tab order and what
// makes the radio groups.
TEST(ModuleResources, EveryLanguageHasTheSameControlsInTheSameOrder) {
    for (int id : {IDD_HPGL2_CUSTOM, IDD_PRINT_PROGRESS, IDD_HP_ADVANCE, IDD_CUSTOM_PAPER}) {
        const auto english = TemplateIn(id, kLanguages[0]);
        ASSERT_TRUE(english.has_value()) << id;
        EXPECT_GT(english->items.size(), 1u);
        for (LANGID language : kLanguages) {
            SCOPED_TRACE("dialog " + std::to_string(id) + " language " + std::to_string(language));
            const auto t = TemplateIn(id, language);
            ASSERT_TRUE(t.has_value());
            EXPECT_FALSE(t->strCaption.empty());
            EXPECT_EQ(t->dwStyle, english->dwStyle);
            EXPECT_EQ(t->strFont, english->strFont);
            EXPECT_EQ(t->wPointSize, english->wPointSize);
            ASSERT_EQ(t->items.size(), english->items.size());
            for (size_t i = 0; i < t->items.size(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(t->items[i].nId, english->items[i].nId);
                EXPECT_EQ(t->items[i].strClass, english->items[i].strClass);
                EXPECT_EQ(t->items[i].dwStyle, english->items[i].dwStyle);
                EXPECT_EQ(t->items[i].nTextOrdinal, english->items[i].nTextOrdinal);
            }
        }
    }
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

// Every text of a language: dialog captions, control texts, messages.
std::vector<std::string> TextsIn(LANGID language) {
    std::vector<std::string> texts;
    for (int id : {IDD_HPGL2_CUSTOM, IDD_PRINT_PROGRESS, IDD_HP_ADVANCE, IDD_CUSTOM_PAPER}) {
        const auto t = TemplateIn(id, language);
        if (!t) continue;
        texts.push_back(t->strCaption);
        for (const auto& item : t->items) texts.push_back(item.strText);
    }
    SetResourceLanguage(language);
    for (UINT id = 100; id < 240; ++id)
        if (const CString text = LoadModuleString(id); !text.IsEmpty()) texts.push_back(text.str());
    SetResourceLanguage(0);
    return texts;
}

TEST(ModuleResources, TranslationsUseEachLanguagesOwnTerms) {
    struct Case {
        LANGID language;
        const char* present;  // a text of the language, whole
        const char* absent;   // a part no text of the language has
    };
    const Case cases[] = {
        // The trim modes are modes (モード), not models (モデル).
        {kLanguages[3], "\xE3\x83\xA2\xE3\x83\xBC\xE3\x83\x89 7",
         "\xE3\x83\xA2\xE3\x83\x87\xE3\x83\xAB"},
        // The shade mode is the colour or grey rendering, not a shadow:
        // 渲染模式 / 描画モード, not 阴影 / 陰影 / シェード.
        {kLanguages[1], "\xE6\xB8\xB2\xE6\x9F\x93\xE6\xA8\xA1\xE5\xBC\x8F",
         "\xE9\x98\xB4\xE5\xBD\xB1"},
        {kLanguages[2], "\xE6\xB8\xB2\xE6\x9F\x93\xE6\xA8\xA1\xE5\xBC\x8F",
         "\xE9\x99\xB0\xE5\xBD\xB1"},
        {kLanguages[3], "\xE6\x8F\x8F\xE7\x94\xBB\xE3\x83\xA2\xE3\x83\xBC\xE3\x83\x89",
         "\xE3\x82\xB7\xE3\x82\xA7\xE3\x83\xBC\xE3\x83\x89"},
        // "Best fit" names a compression (最佳压缩 / 最佳壓縮), not a "best match" (最佳匹配).
        {kLanguages[1], "\xE6\x9C\x80\xE4\xBD\xB3\xE5\x8E\x8B\xE7\xBC\xA9",
         "\xE5\x8C\xB9\xE9\x85\x8D"},
        {kLanguages[2], "\xE6\x9C\x80\xE4\xBD\xB3\xE5\xA3\x93\xE7\xB8\xAE",
         "\xE5\x8C\xB9\xE9\x85\x8D"},
        // Taiwanese terms: 繪圖機 (not 繪圖儀), 驅動程式, 混色 for dither (not 抖動).
        {kLanguages[2],
         "KEST HP \xE7\xB9\xAA\xE5\x9C\x96\xE6\xA9\x9F\xE9\xA9\x85\xE5\x8B\x95"
         "\xE7\xA8\x8B\xE5\xBC\x8F",
         "\xE7\xB9\xAA\xE5\x9C\x96\xE5\x84\x80"},
        {kLanguages[2], "\xE6\xB7\xB7\xE8\x89\xB2", "\xE6\x8A\x96\xE5\x8B\x95"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.present);
        const auto texts = TextsIn(c.language);
        EXPECT_NE(std::find(texts.begin(), texts.end(), c.present), texts.end());
        for (const std::string& text : texts)
            EXPECT_EQ(text.find(c.absent), std::string::npos) << text;
    }
}

TEST(ModuleResources, EachTranslationEndsItsLabelsWithOneKindOfColon) {
    // English keeps the system's own texts, which mix them.
    for (size_t lang = 1; lang < std::size(kLanguages); ++lang) {
        SCOPED_TRACE(lang);
        int ascii = 0, fullWidth = 0;
        for (const std::string& text : TextsIn(kLanguages[lang])) {
            ascii += text.find(':') != std::string::npos;
            fullWidth += text.find("\xEF\xBC\x9A") != std::string::npos;  // U+FF1A
        }
        EXPECT_GT(fullWidth, 0);
        EXPECT_EQ(ascii, 0);
    }
}

TEST(ModuleResources, EveryMessageLoadsInEveryLanguage) {
    const UINT ids[] = {107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 119,
                        120, 200, 201, 210, 211, 212, 213, 214, 215, 216, 217, 220};
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

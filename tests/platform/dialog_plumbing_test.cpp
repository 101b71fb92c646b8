#include <gtest/gtest.h>

#include <afxwin.h>
#include <cstring>
#include <string>
#include <vector>

#include "win32/kernel32/res_file.h"

namespace {

// A .res image built by hand: the empty opening record, then resources.
class ResImage {
public:
    ResImage() { Add(0, 0, 0, {}); }
    void Add(int type, int name, WORD language, const std::vector<std::uint8_t>& data) {
        Pad();
        U32(static_cast<std::uint32_t>(data.size()));
        U32(32);
        U16(0xFFFF), U16(static_cast<WORD>(type)), U16(0xFFFF), U16(static_cast<WORD>(name));
        U32(0), U16(0x1030), U16(language), U32(0), U32(0);
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    static std::vector<std::uint8_t> StringBlock(const std::vector<std::u16string>& strings) {
        std::vector<std::uint8_t> block;
        for (size_t i = 0; i < 16; ++i) {
            const std::u16string s = i < strings.size() ? strings[i] : u"";
            block.push_back(static_cast<std::uint8_t>(s.size())), block.push_back(0);
            for (char16_t c : s)
                block.push_back(static_cast<std::uint8_t>(c & 0xFF)),
                    block.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return block;
    }

private:
    void Pad() {
        while (m_bytes.size() % 4) m_bytes.push_back(0);
    }
    void U16(WORD v) {
        m_bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<WORD>(v & 0xFFFF)), U16(static_cast<WORD>(v >> 16));
    }
    std::vector<std::uint8_t> m_bytes;
};

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

TEST(ResFile, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
    ResImage image;
    image.Add(6, 1, kEnglish, ResImage::StringBlock({u"", u"one"}));
    const auto& bytes = image.bytes();
    const auto whole = win32::ParseResFile(bytes.data(), bytes.size());
    ASSERT_TRUE(whole);
    ASSERT_EQ(whole->size(), 1u);
    EXPECT_EQ((*whole)[0].nType, 6);
    EXPECT_EQ((*whole)[0].wLanguage, kEnglish);
    for (size_t n = 1; n < bytes.size(); ++n) {
        // A heap copy of exactly n bytes, so that a sanitizer sees any overread.
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        const bool boundary = n == 32;  // just the opening record
        EXPECT_EQ(win32::ParseResFile(cut.data(), cut.size()).has_value(), boundary) << n;
    }
    std::vector<std::uint8_t> lying = bytes;
    lying[32] = 0xFF;  // a data size beyond the end
    EXPECT_FALSE(win32::ParseResFile(lying.data(), lying.size()));
}

TEST(ResFile, StringsFallBackToEnglishAndNeverEndInsideACharacter) {
    ResImage image;
    image.Add(6, 1, kEnglish, ResImage::StringBlock({u"", u"one", u"two"}));
    image.Add(6, 1, kJapanese, ResImage::StringBlock({u"", u"\u7528\u7D19"}));
    ASSERT_TRUE(
        RegisterModuleResources("strings-test.dll", image.bytes().data(), image.bytes().size()));
    HMODULE module = GetModuleHandleA("STRINGS-TEST.DLL");
    ASSERT_NE(module, nullptr);
    char buffer[64];
    SetResourceLanguage(kJapanese);
    EXPECT_EQ(LoadStringA(module, 1, buffer, sizeof buffer), 6);
    EXPECT_STREQ(buffer, "\xE7\x94\xA8\xE7\xB4\x99");
    EXPECT_EQ(LoadStringA(module, 2, buffer, sizeof buffer), 3);  // missing in Japanese
    EXPECT_STREQ(buffer, "two");
    EXPECT_EQ(LoadStringA(module, 1, buffer, 5), 3);  // room for 4 bytes: one character
    EXPECT_STREQ(buffer, "\xE7\x94\xA8");
    EXPECT_EQ(LoadStringA(module, 3, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadStringA(module, 17, buffer, sizeof buffer), 0);  // no such block
    EXPECT_EQ(LoadStringA(nullptr, 1, buffer, sizeof buffer), 0);
    SetResourceLanguage(0);
    const std::uint8_t junk[] = {1, 2, 3};
    EXPECT_FALSE(RegisterModuleResources("junk.dll", junk, sizeof junk));
    EXPECT_EQ(GetModuleHandleA("junk.dll"), nullptr);
}

// A dialog with a caption, a radio group of three, a check box, a drop-down
// combo and a digits-only edit, made through the real template parser.
std::vector<std::uint8_t> SmallTemplate() {
    std::vector<std::uint8_t> t;
    const auto u16 = [&](WORD v) {
        t.push_back(static_cast<std::uint8_t>(v & 0xFF));
        t.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto u32 = [&](DWORD v) {
        u16(static_cast<WORD>(v & 0xFFFF)), u16(static_cast<WORD>(v >> 16));
    };
    const auto text = [&](const char* s) {
        while (*s) u16(static_cast<WORD>(*s++));
        u16(0);
    };
    const auto item = [&](DWORD style, int id, WORD cls, const char* title) {
        while (t.size() % 4) t.push_back(0);
        u32(0), u32(0), u32(WS_CHILD | WS_VISIBLE | style);
        u16(1), u16(2), u16(30), u16(10), u32(static_cast<DWORD>(id));
        u16(0xFFFF), u16(cls);
        text(title);
        u16(0);
    };
    u16(1), u16(0xFFFF), u32(0), u32(0), u32(WS_POPUP | WS_CAPTION), u16(7);
    u16(0), u16(0), u16(100), u16(50), u16(0), u16(0);
    text("Small");
    item(BS_AUTORADIOBUTTON | WS_GROUP, 10, 0x80, "A");
    item(BS_AUTORADIOBUTTON, 11, 0x80, "B");
    item(BS_AUTORADIOBUTTON, 12, 0x80, "C");
    item(BS_AUTOCHECKBOX | WS_GROUP, 13, 0x80, "Check");
    item(CBS_DROPDOWN, 14, 0x85, "");
    item(ES_NUMBER, 15, 0x81, "");
    item(BS_DEFPUSHBUTTON, IDOK, 0x80, "OK");
    return t;
}

TEST(DialogTemplate, EveryTruncationIsRefused) {
    const auto bytes = SmallTemplate();
    const auto whole = ParseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->strCaption, "Small");
    ASSERT_EQ(whole->items.size(), 7u);
    EXPECT_EQ(whole->items[4].strClass, "ComboBox");
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_FALSE(ParseDialogTemplate(cut.data(), cut.size())) << n;
    }
}

class Recorder : public DialogMessageSink {
public:
    LRESULT OnDialogMessage(UINT message, WPARAM wParam, LPARAM) override {
        log.push_back(std::to_string(message) + ":" + std::to_string(LOWORD(wParam)) + ":" +
                      std::to_string(HIWORD(wParam)));
        return 0;
    }
    std::vector<std::string> log;
};

TEST(DialogWindow, ControlsBehaveAsTheirWindowsCounterparts) {
    const auto bytes = SmallTemplate();
    Recorder sink;
    DialogWindow d(1, *ParseDialogTemplate(bytes.data(), bytes.size()), nullptr, &sink);
    // Radio buttons of a group exclude each other; the check box is another group.
    EXPECT_TRUE(d.UserClick(11));
    EXPECT_TRUE(d.UserClick(13));
    EXPECT_TRUE(d.UserClick(12));
    EXPECT_EQ(d.Control(10)->m_nCheck, BST_UNCHECKED);
    EXPECT_EQ(d.Control(11)->m_nCheck, BST_UNCHECKED);
    EXPECT_EQ(d.Control(12)->m_nCheck, BST_CHECKED);
    EXPECT_EQ(d.Control(13)->m_nCheck, BST_CHECKED);
    EXPECT_EQ(sink.log, (std::vector<std::string>{"273:11:0", "273:13:0", "273:12:0"}));

    HWND combo = GetDlgItem(d.Handle(), 14);
    for (const char* s : {"Alpha", "beta", "ALPHA"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    const auto find = [&](int after, const char* s) {
        return SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(after),
                            reinterpret_cast<LPARAM>(s));
    };
    EXPECT_EQ(find(-1, "alpha"), 0);
    EXPECT_EQ(find(0, "alpha"), 2);  // starts after the given entry
    EXPECT_EQ(find(2, "alpha"), 0);  // and wraps
    EXPECT_EQ(find(-1, "alph"), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageA(combo, CB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);  // the selection moved with its entry
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 9, 0), CB_ERR);

    EXPECT_FALSE(d.UserType(15, "12x"));
    EXPECT_TRUE(d.UserType(15, "12"));
    // A length limit takes whole characters only.
    SendMessageA(combo, CB_LIMITTEXT, 4, 0);
    for (const auto& [typed, kept] : {std::pair<const char*, const char*>{"abcdef", "abcd"},
                                      {"ab\xE4\xB8\xAD", "ab"},
                                      {"a\xE4\xB8\xAD", "a\xE4\xB8\xAD"}}) {
        EXPECT_TRUE(d.UserType(14, typed));
        EXPECT_EQ(d.Control(14)->m_strText, kept);
    }
    EXPECT_TRUE(d.UserChoose(14, 1));
    EXPECT_FALSE(d.UserChoose(14, 2));
    EnableWindow(GetDlgItem(d.Handle(), 10), FALSE);
    EXPECT_FALSE(d.UserClick(10));
    ShowWindow(GetDlgItem(d.Handle(), 14), SW_HIDE);
    EXPECT_FALSE(d.UserChoose(14, 0));

    // The last EndDialog gives the result, as on Windows.
    EndDialog(d.Handle(), IDCANCEL);
    EndDialog(d.Handle(), IDOK);
    EXPECT_TRUE(d.m_bEnded);
    EXPECT_EQ(d.m_nResult, IDOK);
    EXPECT_FALSE(d.UserClick(IDOK));  // an ended dialog takes no more actions
}

TEST(DialogWindow, HandlesOfClosedWindowsAnswerNothing) {
    const auto bytes = SmallTemplate();
    HWND control = nullptr;
    {
        DialogWindow d(1, *ParseDialogTemplate(bytes.data(), bytes.size()), nullptr, nullptr);
        control = GetDlgItem(d.Handle(), 15);
        EXPECT_TRUE(SetWindowTextA(control, "7"));
    }
    EXPECT_FALSE(SetWindowTextA(control, "8"));
    EXPECT_EQ(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(control));
}

TEST(DataExchange, NumbersReadAsTheExchangeReadsThem) {
    long long v = 0;
    EXPECT_TRUE(AfxParseInt(" 42 ", 0, 100, &v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(AfxParseInt("+7", 0, 100, &v));
    EXPECT_FALSE(AfxParseInt("101", 0, 100, &v));
    EXPECT_FALSE(AfxParseInt("-1", 0, 100, &v));
    EXPECT_FALSE(AfxParseInt("4 2", 0, 100, &v));
    EXPECT_FALSE(AfxParseInt("", 0, 100, &v));
    EXPECT_FALSE(AfxParseInt("0x1", 0, 100, &v));
    double d = 0;
    EXPECT_TRUE(AfxParseDouble("12.5", &d));
    EXPECT_EQ(d, 12.5);
    EXPECT_TRUE(AfxParseDouble(" -3e2 ", &d));
    EXPECT_EQ(d, -300);
    EXPECT_FALSE(AfxParseDouble("12,5", &d));
    EXPECT_FALSE(AfxParseDouble("inf", &d));
    EXPECT_FALSE(AfxParseDouble("1e999", &d));
    EXPECT_EQ(AfxFormatDouble(1.0), "1");
    EXPECT_EQ(AfxFormatDouble(0.1), "0.1");
    EXPECT_EQ(AfxFormatDouble(1.0 / 3), "0.333333333333333");
}

}  // namespace

namespace {

TEST(MessageBox, AfxMessageBoxGivesABoxWithoutAnIconMfcsOwn) {
    struct Case {
        UINT asked;
        UINT shown;
    };
    const Case cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
        {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONQUESTION},
        {MB_OK | MB_ICONINFORMATION, MB_OK | MB_ICONINFORMATION},
        {MB_YESNO | MB_ICONSTOP, MB_YESNO | MB_ICONSTOP},
    };
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    for (const Case& c : cases) AfxMessageBox("Paper name can not be null", c.asked);
    SetUiPresenter(nullptr);
    ASSERT_EQ(presenter.messageTypes.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(presenter.messageTypes[i], cases[i].shown) << cases[i].asked;
}

}  // namespace

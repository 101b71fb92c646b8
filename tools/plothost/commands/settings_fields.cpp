#include "commands/settings_fields.h"

#include <afxwin.h>
#include <algorithm>
#include <cctype>
#include <iterator>

#include "commands/driver_dialog_ids.h"
#include "host/paper_choice.h"

namespace dd = driver_dialog;

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A caption without its mnemonic marks, as the user reads it.
std::string Plain(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != '&' || (i + 1 < text.size() && text[i + 1] == '&')) out += text[i];
    return out;
}

std::string Collapse(const std::string& s) {
    std::string out;
    for (char c : Lower(s))
        if (!std::isspace(static_cast<unsigned char>(c))) out += c;
    return out;
}

std::string Text(DialogWindow& d, int id) {
    ControlWindow* c = d.Control(id);
    return c ? c->m_strText : "";
}

// A choice given by its position (from 0) or by the text the dialog shows
// for it, letter case and blanks ignored.
int ChoiceIndex(const std::string& value, const std::vector<std::string>& shown) {
    const std::string wanted = Collapse(value);
    for (size_t i = 0; i < shown.size(); ++i)
        if (Collapse(Plain(shown[i])) == wanted) return static_cast<int>(i);
    if (!value.empty() &&
        std::all_of(value.begin(), value.end(), [](unsigned char c) { return std::isdigit(c); }) &&
        value.size() < 4) {
        const int index = std::stoi(value);
        if (index < static_cast<int>(shown.size())) return index;
    }
    return -1;
}

std::string NotAChoice(const std::vector<std::string>& shown) {
    std::string text = "not one of the choices shown:";
    for (size_t i = 0; i < shown.size(); ++i)
        text += (i ? ", " : " ") + std::to_string(i) + " \"" + Plain(shown[i]) + "\"";
    return text;
}

// A value as an error message repeats it: a long one is cut, at a character.
std::string Shortened(const std::string& value) {
    const size_t kLongest = 40, kKept = 32;
    if (value.size() <= kLongest) return value;
    size_t n = kKept;
    while (n > 0 && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80) --n;
    return value.substr(0, n) + "...";
}

// "FIELD=VALUE: why", with the value given for the field when there is one.
std::string FieldError(const std::string& field, const std::vector<FieldValue>& values,
                       const std::string& why) {
    std::string named = field;
    for (const FieldValue& v : values)
        if (v.field == field) named = field + "=" + Shortened(v.value);
    return named.empty() ? why : named + ": " + why;
}

void AddError(SettingsRun& run, const std::string& error) {
    // A value the dialog reads more than once is refused more than once.
    if (std::find(run.errors.begin(), run.errors.end(), error) == run.errors.end())
        run.errors.push_back(error);
}

// The field whose control this is, by the dialog it belongs to.
std::string FieldOfControl(int dialog, int control) {
    const auto in = [control](const auto& ids) {
        return std::find(std::begin(ids), std::end(ids), control) != std::end(ids);
    };
    if (dialog == dd::kSettings) {
        if (control == dd::kResolutionList || control == dd::kResolutionEdit) return "resolution";
        if (control == dd::kPaperList) return "paper";
        if (control == dd::kMemoryCombo) return "memory";
        if (in(dd::kTransactionRadios)) return "transaction";
        if (in(dd::kColourRadios)) return "colour";
    } else if (dialog == dd::kAdvanced) {
        if (in(dd::kCompressionRadios)) return "compression";
        if (in(dd::kDataModeRadios)) return "datamode";
        if (control == dd::kTrimList) return "trim";
        if (control == dd::kShadeList) return "shade";
        if (control == dd::kInkedAreaCheck) return "inkedarea";
        if (control == dd::kPjlControlCheck) return "pjlcontrol";
        if (control == dd::kHeadMaskEdit) return "headmask";
        if (control == dd::kControlCodeEdit) return "controlcode";
    }
    return "";
}

size_t Utf8Characters(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The messages the dialog showed since the last call become errors of the
// field they are about: the one whose control has the focus (where a
// refused exchange leaves it), else `field`, the one being set.
void TellMessages(const ScriptedPresenter& presenter, DialogWindow& d, const std::string& field,
                  const std::vector<FieldValue>& values, SettingsRun& run) {
    for (; run.messagesTold < presenter.messages.size(); ++run.messagesTold) {
        std::string about = FieldOfControl(d.TemplateId(), d.m_nFocusId);
        if (about.empty()) about = field;
        AddError(run, FieldError(about, values, presenter.messages[run.messagesTold]));
        const std::string code = Text(d, dd::kControlCodeEdit);
        if (about == "controlcode" && Utf8Characters(code) != code.size())
            AddError(run, "controlcode: the text is " + std::to_string(Utf8Characters(code)) +
                              " characters but " + std::to_string(code.size()) +
                              " bytes of UTF-8, and the limit counts bytes");
    }
}

template <size_t N>
std::vector<std::string> RadioTexts(DialogWindow& d, const int (&ids)[N]) {
    std::vector<std::string> texts;
    for (int id : ids) texts.push_back(Plain(Text(d, id)));
    return texts;
}

template <size_t N>
std::string CheckedRadio(DialogWindow& d, const int (&ids)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (ControlWindow* c = d.Control(ids[i]); c && c->m_nCheck == BST_CHECKED)
            return std::to_string(i) + " (" + Plain(c->m_strText) + ")";
    return "none";
}

std::vector<std::string> Items(DialogWindow& d, int id) {
    std::vector<std::string> items;
    if (ControlWindow* c = d.Control(id))
        for (const auto& item : c->m_items) items.push_back(item.strText);
    return items;
}

std::string ListChoice(DialogWindow& d, int id) {
    ControlWindow* c = d.Control(id);
    if (!c || c->m_nCurSel < 0) return "none";
    return std::to_string(c->m_nCurSel) + " (" + c->m_strText + ")";
}

std::string Check(DialogWindow& d, int id) {
    ControlWindow* c = d.Control(id);
    return c && c->m_nCheck == BST_CHECKED ? "1" : "0";
}

// 1 on, 0 off, -1 neither.
int OnOff(const std::string& value) {
    const std::string v = Lower(value);
    if (v == "1" || v == "on" || v == "yes" || v == "true") return 1;
    if (v == "0" || v == "off" || v == "no" || v == "false") return 0;
    return -1;
}

// Types as the user does; a digits-only edit refuses other keys, but a
// pasted text reaches it, and the dialog's own check then answers.
void TypeOrPaste(DialogWindow& d, int id, const std::string& text) {
    if (!d.UserType(id, text))
        if (ControlWindow* c = d.Control(id); c && c->m_bEnabled && c->m_bVisible)
            SetWindowTextA(c->Handle(), text.c_str());
}

// "\n" in a value given on a command line stands for a new line of the
// multi-line edit, which is CR LF.
std::string Lines(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
            out += "\r\n";
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

bool IsAdvancedField(const std::string& field) {
    static const char* const kAdvanced[] = {"compression", "datamode",   "trim",     "shade",
                                            "inkedarea",   "pjlcontrol", "headmask", "controlcode"};
    return std::find(std::begin(kAdvanced), std::end(kAdvanced), field) != std::end(kAdvanced);
}

void ReadAdvanced(DialogWindow& d, SettingsRun& run) {
    run.shown.push_back({"compression", CheckedRadio(d, dd::kCompressionRadios)});
    run.shown.push_back({"datamode", CheckedRadio(d, dd::kDataModeRadios)});
    run.shown.push_back({"trim", ListChoice(d, dd::kTrimList)});
    run.shown.push_back({"shade", ListChoice(d, dd::kShadeList)});
    run.shown.push_back({"inkedarea", Check(d, dd::kInkedAreaCheck)});
    run.shown.push_back({"pjlcontrol", Check(d, dd::kPjlControlCheck)});
    run.shown.push_back({"headmask", Text(d, dd::kHeadMaskEdit)});
    // New lines of the multi-line text are shown as they are given: "\n".
    std::string code = Text(d, dd::kControlCodeEdit);
    for (size_t at = code.find("\r\n"); at != std::string::npos; at = code.find("\r\n", at + 2))
        code.replace(at, 2, "\\n");
    run.shown.push_back({"controlcode", "\"" + code + "\""});
}

void SetAdvanced(DialogWindow& d, const FieldValue& f, SettingsRun& run) {
    const auto bad = [&](const std::string& why) { AddError(run, FieldError(f.field, {f}, why)); };
    if (f.field == "compression" || f.field == "datamode") {
        const bool compression = f.field == "compression";
        const auto texts = compression ? RadioTexts(d, dd::kCompressionRadios)
                                       : RadioTexts(d, dd::kDataModeRadios);
        const int index = ChoiceIndex(f.value, texts);
        if (index < 0) return bad(NotAChoice(texts));
        d.UserClick(compression ? dd::kCompressionRadios[index] : dd::kDataModeRadios[index]);
    } else if (f.field == "trim" || f.field == "shade") {
        const int id = f.field == "trim" ? dd::kTrimList : dd::kShadeList;
        const auto texts = Items(d, id);
        const int index = ChoiceIndex(f.value, texts);
        if (index < 0) return bad(NotAChoice(texts));
        d.UserChoose(id, index);
    } else if (f.field == "inkedarea" || f.field == "pjlcontrol") {
        const int id = f.field == "inkedarea" ? dd::kInkedAreaCheck : dd::kPjlControlCheck;
        const int on = OnOff(f.value);
        if (on < 0) return bad("give 1 or 0");
        if ((Check(d, id) == "1") != (on == 1)) d.UserClick(id);
    } else if (f.field == "headmask" || f.field == "controlcode") {
        // Only one of the two edits is open at a time: the user ticks "PJL
        // control" over to reach the other one and back.
        const int id = f.field == "headmask" ? dd::kHeadMaskEdit : dd::kControlCodeEdit;
        const bool closed = !d.Control(id)->m_bEnabled;
        if (closed) d.UserClick(dd::kPjlControlCheck);
        TypeOrPaste(d, id, f.field == "controlcode" ? Lines(f.value) : f.value);
        if (closed) d.UserClick(dd::kPjlControlCheck);
    }
}

void SetMain(DialogWindow& d, const FieldValue& f, const std::vector<PaperSize>& papers,
             SettingsRun& run) {
    const auto bad = [&](const std::string& why) { AddError(run, FieldError(f.field, {f}, why)); };
    if (f.field == "resolution") {
        std::string v = Collapse(f.value);
        if (v.size() > 3 && v.compare(v.size() - 3, 3, "dpi") == 0) v.resize(v.size() - 3);
        const auto entries = Items(d, dd::kResolutionList);
        for (size_t i = 1; i < entries.size(); ++i)
            if (Collapse(entries[i]) == v + "dpi") {
                d.UserChoose(dd::kResolutionList, static_cast<int>(i));
                return;
            }
        // "Custom", by that word or as the dialog names it in its language.
        d.UserChoose(dd::kResolutionList, 0);
        if (v != "custom" && (entries.empty() || v != Collapse(entries[0])))
            TypeOrPaste(d, dd::kResolutionEdit, v);
    } else if (f.field == "paper") {
        // As "plot --paper" finds it: number, name or words only it has.
        std::string error;
        const PaperSize* paper = FindPaper(papers, f.value, &error);
        if (!paper) return bad(error);
        const auto entries = Items(d, dd::kPaperList);
        const size_t at = static_cast<size_t>(paper - papers.data());
        if (at >= entries.size() || entries[at] != PaperText(*paper))
            return bad("the paper list changed while it was read; try again");
        d.UserChoose(dd::kPaperList, static_cast<int>(at));
    } else if (f.field == "transaction" || f.field == "colour") {
        const bool transaction = f.field == "transaction";
        const auto texts =
            transaction ? RadioTexts(d, dd::kTransactionRadios) : RadioTexts(d, dd::kColourRadios);
        int index = ChoiceIndex(f.value, texts);
        const std::string v = Lower(f.value);
        if (index < 0 && transaction)
            index = v == "plot" ? 0 : v == "computer" ? 1 : v == "auto" ? 2 : -1;
        if (index < 0 && !transaction)
            index = v == "bw" || v == "black and white" ? 0
                    : v == "color" || v == "colour"     ? 1
                    : v == "gray" || v == "grey"        ? 2
                                                        : -1;
        if (index < 0) return bad(NotAChoice(texts));
        d.UserClick(transaction ? dd::kTransactionRadios[index] : dd::kColourRadios[index]);
    } else if (f.field == "memory") {
        if (!d.UserType(dd::kMemoryCombo, f.value))
            bad("the memory size is set in the automatic transaction mode (transaction=auto)");
    }
}

void ReadMain(DialogWindow& d, const std::vector<PaperSize>& papers, SettingsRun& run) {
    run.shown.push_back({"resolution", Text(d, dd::kResolutionEdit) + " dpi"});
    ControlWindow* paper = d.Control(dd::kPaperList);
    std::string paperText = "none";
    if (paper && paper->m_nCurSel >= 0) {
        paperText = paper->m_strText;
        const size_t at = static_cast<size_t>(paper->m_nCurSel);
        if (at < papers.size()) paperText += " (" + std::to_string(papers[at].nPaperID) + ")";
    }
    run.shown.push_back({"paper", paperText});
    run.shown.push_back({"transaction", CheckedRadio(d, dd::kTransactionRadios)});
    run.shown.push_back({"memory", Text(d, dd::kMemoryCombo)});
    run.shown.push_back({"colour", CheckedRadio(d, dd::kColourRadios)});
}

}  // namespace

bool IsSettingsField(const std::string& name) {
    return std::find(kSettingsFields.begin(), kSettingsFields.end(), name) != kSettingsFields.end();
}

void ScriptShowSettings(ScriptedPresenter& presenter, const std::vector<PaperSize>& papers,
                        const std::shared_ptr<SettingsRun>& run) {
    presenter.dialogScripts.push_back([run, papers](DialogWindow& d) {
        ReadMain(d, papers, *run);
        d.UserClick(dd::kAdvanceButton);
        d.UserClick(dd::kCancel);
    });
    presenter.dialogScripts.push_back([run](DialogWindow& d) {
        ReadAdvanced(d, *run);
        d.UserClick(dd::kCancel);
    });
}

void ScriptChangeSettings(ScriptedPresenter& presenter, const std::vector<FieldValue>& values,
                          const std::vector<PaperSize>& papers,
                          const std::shared_ptr<SettingsRun>& run) {
    std::vector<FieldValue> main, advanced;
    // The dialog's own order: the transaction mode before the memory size.
    for (const std::string& field : kSettingsFields)
        for (const FieldValue& v : values)
            if (v.field == field && field != "orientation")
                (IsAdvancedField(field) ? advanced : main).push_back(v);
    const ScriptedPresenter* shown = &presenter;
    presenter.dialogScripts.push_back(
        [run, main, papers, values, shown, hasAdvanced = !advanced.empty()](DialogWindow& d) {
            for (const FieldValue& f : main) {
                SetMain(d, f, papers, *run);
                TellMessages(*shown, d, f.field, values, *run);
            }
            if (hasAdvanced) d.UserClick(dd::kAdvanceButton);
            if (!run->errors.empty()) return d.UserClick(dd::kCancel), void();
            d.UserClick(dd::kOk);
            TellMessages(*shown, d, "", values, *run);
            run->accepted = d.m_bEnded && d.m_nResult == IDOK;
        });
    if (!advanced.empty())
        presenter.dialogScripts.push_back([run, advanced, values, shown](DialogWindow& d) {
            for (const FieldValue& f : advanced) {
                SetAdvanced(d, f, *run);
                TellMessages(*shown, d, f.field, values, *run);
            }
            if (!run->errors.empty()) return d.UserClick(dd::kCancel), void();
            d.UserClick(dd::kOk);
            TellMessages(*shown, d, "", values, *run);
            if (!d.m_bEnded && run->errors.empty()) run->errors.push_back("");
        });
}

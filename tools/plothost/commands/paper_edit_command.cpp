// "plothost papers add|change|delete": the paper list edited through the
// driver's custom paper dialog, opened from its settings dialog as a user
// opens it, so that every check and message is the dialog's own. The
// settings themselves stay as they are (the settings dialog is cancelled).
#include <afxwin.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "commands/command_line.h"
#include "commands/commands.h"
#include "commands/driver_dialog_ids.h"
#include "host/driver_settings.h"
#include "host/loaded_module.h"
#include "host/paper_choice.h"

namespace dd = driver_dialog;

namespace {

struct PaperEdit {
    std::string action;  // add, change, delete
    std::string name;
    std::string width, height;  // printable size in millimetres, as typed
    std::string driver = "1";
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trimmed(const std::string& s) {
    size_t first = 0, last = s.size();
    while (first < last && std::isspace(static_cast<unsigned char>(s[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(s[last - 1]))) --last;
    return s.substr(first, last - first);
}

int ParseEdit(const HostOptions& options, PaperEdit* edit) {
    const auto& args = options.arguments;
    edit->action = args[0];
    size_t i = 1;
    if (edit->action != "add") {
        if (args.size() < 2 || args[1].rfind("--", 0) == 0) {
            std::fprintf(stderr, "plothost: papers %s needs the paper's name\n",
                         edit->action.c_str());
            return 2;
        }
        edit->name = args[1];
        i = 2;
    }
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--driver" || a == "--width" || a == "--height" ||
                                (a == "--name" && edit->action == "add");
        if (!takesValue || (edit->action == "delete" && a != "--driver")) {
            std::fprintf(stderr, "plothost: papers %s: unexpected argument %s\n",
                         edit->action.c_str(), a.c_str());
            return 2;
        }
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "plothost: %s needs a value\n", a.c_str());
            return 2;
        }
        const std::string value = args[++i];
        if (a == "--driver") edit->driver = value;
        if (a == "--width") edit->width = value;
        if (a == "--height") edit->height = value;
        if (a == "--name") edit->name = value;
    }
    if (edit->action == "add" &&
        (edit->name.empty() || edit->width.empty() || edit->height.empty())) {
        std::fprintf(stderr, "plothost: papers add needs --name, --width and --height\n");
        return 2;
    }
    return 0;
}

// A paper by its name in any letter case or, failing that, by the name it
// was added with: the dialog keeps a paper it made as "Custom " + name.
int FindByName(const std::vector<PaperSize>& papers, const std::string& name) {
    const std::string wanted = Lower(Trimmed(name));
    for (const std::string& candidate : {wanted, Lower(dd::kCustomPaperPrefix) + wanted})
        for (size_t i = 0; i < papers.size(); ++i)
            if (Lower(PaperText(papers[i])) == candidate) return static_cast<int>(i);
    return -1;
}

bool HasPaper(const std::vector<PaperSize>& papers, int number) {
    return std::any_of(papers.begin(), papers.end(),
                       [number](const PaperSize& p) { return p.nPaperID == number; });
}

// The paper each plotter's settings use, where its list has it.
struct PaperInUse {
    HT_Driver* driver;
    PaperSize paper;
};

std::vector<PaperInUse> PapersInUse(LoadedModule& module) {
    std::vector<PaperInUse> uses;
    for (int i = 0; i < module.Drivers().GetCount(); ++i) {
        HT_Driver* driver = module.Drivers().At(i);
        const auto settings = FetchSettings(driver);
        if (!settings) continue;
        for (const PaperSize& p : FetchPapers(driver))
            if (p.nPaperID == settings->Public().dmPaperSize) {
                uses.push_back({driver, p});
                break;
            }
    }
    return uses;
}

// Settings whose paper left the list keep its size until they are next
// changed, when the dialog takes the first paper of the list instead.
void WarnOfPapersGone(const HostOptions& options, const std::vector<PaperInUse>& uses) {
    std::vector<std::string> plotters;
    for (const PaperInUse& use : uses) {
        if (HasPaper(FetchPapers(use.driver), use.paper.nPaperID)) continue;
        std::fprintf(stderr,
                     "plothost: warning: the settings of %s use the deleted paper \"%s\" (%d)\n",
                     use.driver->GetName(), PaperText(use.paper).c_str(), use.paper.nPaperID);
        plotters.push_back(use.driver->GetName());
    }
    if (plotters.empty()) return;
    const std::string command = PlothostCommandLine(
        options, {"settings", "--driver", plotters.size() == 1 ? plotters[0] : "PLOTTER", "--set",
                  "paper=NAME"});
    std::fprintf(stderr, "plothost: choose another paper with:\n  %s\n", command.c_str());
}

std::string Describe(const PaperSize& p) {
    char text[160];
    std::snprintf(text, sizeof text, "%d \"%s\" %.1f x %.1f mm printable, sheet %.1f x %.1f mm",
                  p.nPaperID, PaperText(p).c_str(),
                  (p.nPaperWidth - p.nLeftMargin - p.nRightMargin) / 10.0,
                  (p.nPaperLength - p.nTopMargin - p.nBottomMargin) / 10.0, p.nPaperWidth / 10.0,
                  p.nPaperLength / 10.0);
    return text;
}

// What changed in the list, told as the user would check it.
void ReportChanges(const std::vector<PaperSize>& before, const std::vector<PaperSize>& after) {
    const auto find = [](const std::vector<PaperSize>& list, int id) -> const PaperSize* {
        for (const auto& p : list)
            if (p.nPaperID == id) return &p;
        return nullptr;
    };
    bool any = false;
    for (const auto& p : after) {
        const PaperSize* old = find(before, p.nPaperID);
        if (!old) {
            std::printf("added   %s\n", Describe(p).c_str());
            any = true;
        } else if (std::memcmp(old, &p, sizeof p) != 0) {
            std::printf("changed %s\n", Describe(p).c_str());
            any = true;
        }
    }
    for (const auto& p : before)
        if (!find(after, p.nPaperID)) {
            std::printf("deleted %s\n", Describe(p).c_str());
            any = true;
        }
    if (!any) std::printf("the paper list is unchanged\n");
}

}  // namespace

bool IsPaperEditCommand(const HostOptions& options) {
    return !options.arguments.empty() &&
           (options.arguments[0] == "add" || options.arguments[0] == "change" ||
            options.arguments[0] == "delete");
}

int RunPaperEditCommand(LoadedModule& module, const HostOptions& options) {
    PaperEdit edit;
    if (const int status = ParseEdit(options, &edit)) return status;
    HT_Driver* driver = module.Find(edit.driver);
    if (!driver) {
        std::fprintf(stderr, "plothost: no plotter %s (see 'plothost drivers')\n",
                     edit.driver.c_str());
        return 1;
    }
    const std::vector<PaperSize> before = FetchPapers(driver);
    const int found = FindByName(before, edit.name);
    if (edit.action == "add" && found >= 0) {
        const PaperSize& existing = before[static_cast<size_t>(found)];
        std::fprintf(stderr,
                     "plothost: the paper list has \"%s\" (%d) already; 'plothost papers "
                     "change' changes it\n",
                     PaperText(existing).c_str(), existing.nPaperID);
        return 1;
    }
    if (edit.action == "change" && found < 0) {
        std::fprintf(stderr, "plothost: no paper \"%s\" in the paper list\n", edit.name.c_str());
        return 1;
    }

    ScriptedPresenter presenter;
    auto accepted = std::make_shared<bool>(false);
    presenter.dialogScripts.push_back([](DialogWindow& d) {
        d.UserClick(dd::kCustomizedButton);
        d.UserClick(dd::kCancel);
    });
    // The name as the list has it; an unknown one as given, for the
    // dialog's own message.
    const std::string listed =
        found >= 0 ? PaperText(before[static_cast<size_t>(found)]) : edit.name;
    // Only a deletion takes a paper away from settings that use it.
    const std::vector<PaperInUse> uses =
        edit.action == "delete" ? PapersInUse(module) : std::vector<PaperInUse>{};
    presenter.dialogScripts.push_back([edit, found, listed, accepted](DialogWindow& d) {
        if (edit.action == "delete") {
            d.UserType(dd::kPaperNameCombo, listed);
            d.UserClick(dd::kDeleteButton);
            // Cancel is disabled after a deletion; the window is closed.
            *accepted = !d.m_bEnded;
            d.UserClose();
            return;
        }
        if (edit.action == "change")
            d.UserChoose(dd::kPaperNameCombo, found);
        else
            d.UserType(dd::kPaperNameCombo, edit.name);
        if (!edit.width.empty()) d.UserType(dd::kWidthEdit, edit.width);
        if (!edit.height.empty()) d.UserType(dd::kHeightEdit, edit.height);
        d.UserClick(dd::kOk);
        *accepted = d.m_bEnded && d.m_nResult == IDOK;
    });
    SetUiPresenter(&presenter);
    driver->Configure(GetDesktopWindow());
    SetUiPresenter(nullptr);
    for (const std::string& m : presenter.messages)
        std::fprintf(stderr, "plothost: %s\n", m.c_str());
    ReportChanges(before, FetchPapers(driver));
    WarnOfPapersGone(options, uses);
    return *accepted && presenter.messages.empty() ? 0 : 1;
}

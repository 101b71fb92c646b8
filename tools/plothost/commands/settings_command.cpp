// "plothost configure" and "plothost settings": the driver's settings entry
// (its slot 2), shown on a display or driven by script through the very same
// dialogs, and the settings kept per user afterwards.
#include <afxwin.h>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "commands/command_line.h"
#include "commands/commands.h"
#include "commands/settings_fields.h"
#include "host/driver_settings.h"
#include "host/loaded_module.h"
#include "host/paper_choice.h"
#include "host/settings_store.h"
#include "pxrdriver/app_paths.h"

#if defined(HPGL2_HAVE_GTK_PRESENTER)
#include "win32/gtk/gtk_presenter.h"
#endif

namespace {

struct DriverChoice {
    HT_Driver* driver = nullptr;
    std::vector<FieldValue> values;
};

// "--driver PLOTTER" and, for settings, "--set FIELD=VALUE"; 0 when good,
// else the exit status after the message.
int ParseArguments(LoadedModule& module, const HostOptions& options, bool allowSet,
                   DriverChoice* choice) {
    std::string driverName = "1";
    const auto& args = options.arguments;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--driver" || (allowSet && args[i] == "--set")) && i + 1 >= args.size()) {
            std::fprintf(stderr, "plothost: %s needs a value\n", args[i].c_str());
            return 2;
        }
        if (args[i] == "--driver") {
            driverName = args[++i];
        } else if (allowSet && args[i] == "--set") {
            const std::string pair = args[++i];
            const size_t equals = pair.find('=');
            const std::string field = pair.substr(0, equals);
            if (equals == std::string::npos || !IsSettingsField(field)) {
                std::fprintf(stderr, "plothost: --set %s: give FIELD=VALUE with one of the fields",
                             pair.c_str());
                for (const auto& f : kSettingsFields) std::fprintf(stderr, " %s", f.c_str());
                std::fprintf(stderr, "\n");
                return 2;
            }
            choice->values.push_back({field, pair.substr(equals + 1)});
        } else {
            std::fprintf(stderr, "plothost: unexpected argument %s\n", args[i].c_str());
            return 2;
        }
    }
    choice->driver = module.Find(driverName);
    if (!choice->driver) {
        std::fprintf(stderr, "plothost: no plotter %s (see 'plothost drivers')\n",
                     driverName.c_str());
        return 1;
    }
    return 0;
}

void PrintErrors(const ScriptedPresenter& presenter, const SettingsRun& run) {
    for (const std::string& e : run.errors)
        if (!e.empty()) std::fprintf(stderr, "plothost: %s\n", e.c_str());
    for (size_t i = run.messagesTold; i < presenter.messages.size(); ++i)
        std::fprintf(stderr, "plothost: %s\n", presenter.messages[i].c_str());
}

const PaperSize* PaperNumbered(const std::vector<PaperSize>& papers, int number) {
    for (const PaperSize& p : papers)
        if (p.nPaperID == number) return &p;
    return nullptr;
}

const char* OrientationName(const DEVMODEA& dm) {
    return dm.dmOrientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait";
}

// The dialog shows the first paper when the stored one is not listed (it
// was deleted), and OK takes it: a change the user did not ask for.
void TellPaperSwitch(const DriverSettings& before, const DriverSettings& after,
                     const std::vector<PaperSize>& papers) {
    const DEVMODEA &was = before.Public(), &now = after.Public();
    if (was.dmPaperSize == now.dmPaperSize || PaperNumbered(papers, was.dmPaperSize)) return;
    const PaperSize* taken = PaperNumbered(papers, now.dmPaperSize);
    std::string orientation;
    if (was.dmOrientation != now.dmOrientation)
        orientation =
            std::string(", ") + OrientationName(now) + " (was " + OrientationName(was) + ")";
    std::fprintf(stderr,
                 "plothost: the paper of the settings, number %d, is not in the paper list: the "
                 "settings now use \"%s\" (%d)%s\n",
                 was.dmPaperSize, taken ? PaperText(*taken).c_str() : "?", now.dmPaperSize,
                 orientation.c_str());
}

int Remember(HT_Driver* driver) {
    std::string error;
    if (RememberSettings(driver, KestGetAppDataPath(), &error)) return 0;
    std::fprintf(stderr, "plothost: the settings are not kept: %s\n", error.c_str());
    return 1;
}

int ShowSettings(HT_Driver* driver) {
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    auto run = std::make_shared<SettingsRun>();
    ScriptShowSettings(presenter, FetchPapers(driver), run);
    driver->Configure(GetDesktopWindow());
    SetUiPresenter(nullptr);
    const auto settings = FetchSettings(driver);
    std::printf("%s\n", driver->GetName());
    const auto papers = FetchPapers(driver);
    for (const auto& [field, text] : run->shown) {
        std::printf("  %-12s %s\n", field.c_str(), text.c_str());
        if (field != "paper" || !settings) continue;
        const int stored = settings->Public().dmPaperSize;
        if (!PaperNumbered(papers, stored))
            std::printf(
                "  %-12s (the stored paper, number %d, is not in the paper list: plots\n"
                "  %-12s keep its size; a change of the settings takes the paper shown)\n",
                "", stored, "");
        std::printf("  %-12s %s\n", "orientation", OrientationName(settings->Public()));
    }
    return run->shown.empty() ? 1 : 0;
}

// Orientation is no control of the dialogs: the host sets it in the public
// part of the record, as its page set-up does, and the dialog keeps it.
int SetOrientation(HT_Driver* driver, const std::string& value) {
    auto settings = FetchSettings(driver);
    if (!settings) return 1;
    std::string v = value;
    for (char& c : v) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (v == "portrait" || v == "1")
        settings->Public().dmOrientation = DMORIENT_PORTRAIT;
    else if (v == "landscape" || v == "2")
        settings->Public().dmOrientation = DMORIENT_LANDSCAPE;
    else {
        std::fprintf(stderr, "plothost: orientation=%s: give portrait or landscape\n",
                     value.c_str());
        return 2;
    }
    return StoreSettings(driver, *settings) ? 0 : 1;
}

}  // namespace

int RunSettingsCommand(LoadedModule& module, const HostOptions& options) {
    DriverChoice choice;
    if (const int status = ParseArguments(module, options, true, &choice)) return status;
    HT_Driver* driver = choice.driver;
    if (choice.values.empty()) return ShowSettings(driver);

    for (const FieldValue& v : choice.values)
        if (v.field == "orientation")
            if (const int status = SetOrientation(driver, v.value)) return status;

    const auto before = FetchSettings(driver);
    const auto papers = FetchPapers(driver);
    ScriptedPresenter presenter;
    SetUiPresenter(&presenter);
    auto run = std::make_shared<SettingsRun>();
    ScriptChangeSettings(presenter, choice.values, papers, run);
    driver->Configure(GetDesktopWindow());
    SetUiPresenter(nullptr);
    PrintErrors(presenter, *run);
    if (!run->accepted) {
        std::fprintf(stderr, "plothost: the settings of %s are unchanged\n", driver->GetName());
        return 1;
    }
    if (const auto after = FetchSettings(driver); before && after)
        TellPaperSwitch(*before, *after, papers);
    if (const int status = Remember(driver)) return status;
    return ShowSettings(driver);
}

int RunConfigureCommand(LoadedModule& module, const HostOptions& options) {
    DriverChoice choice;
    if (const int status = ParseArguments(module, options, false, &choice)) return status;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool hasDisplay = (display && *display) || (wayland && *wayland);
#if defined(HPGL2_HAVE_GTK_PRESENTER)
    std::unique_ptr<UiPresenter> presenter = hasDisplay ? MakeGtkPresenter() : nullptr;
    const char* why = "no display to show the settings dialog on";
#else
    std::unique_ptr<UiPresenter> presenter;
    const char* why = "this plothost was built without the GTK dialogs";
#endif
    if (!hasDisplay || !presenter) {
        const std::string command =
            PlothostCommandLine(options, {"settings", "--driver", choice.driver->GetName()});
        std::fprintf(stderr,
                     "plothost: %s; this command shows the settings, and with --set FIELD=VALUE "
                     "changes them through the same dialog:\n  %s\n",
                     hasDisplay ? why : "no display to show the settings dialog on",
                     command.c_str());
        return 1;
    }
    const auto before = FetchSettings(choice.driver);
    SetUiPresenter(presenter.get());
    choice.driver->Configure(GetDesktopWindow());
    SetUiPresenter(nullptr);
    const auto after = FetchSettings(choice.driver);
    if (before && after && before->bytes == after->bytes) return 0;
    return Remember(choice.driver);
}

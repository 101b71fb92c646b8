// What the dialog suites share: a scripted presenter installed for the test,
// English resources, a scratch paper file, and readers of what a dialog shows.
#pragma once

#include <gtest/gtest.h>

#include <afxwin.h>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "ui/module_resources.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUiPresenter(&presenter);
        SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    }
    void TearDown() override {
        SetUiPresenter(nullptr);
        SetResourceLanguage(0);
    }
    // Writes a paper list ("number, width, length, top, bottom, left, right,
    // name" a line) and returns its path.
    std::string Papers(const std::string& lines) { return dir.Write("paper.ini", lines); }
    std::string PaperText() { return dir.Read("paper.ini"); }
    // The next dialog to open runs this script.
    template <typename Script>
    void Then(Script script) {
        presenter.dialogScripts.push_back(script);
    }

    ScratchDir dir;
    ScriptedPresenter presenter;
    ModuleResourceScope resources;
};

inline std::string TextOf(DialogWindow& dialog, int id) {
    ControlWindow* c = dialog.Control(id);
    return c ? c->m_strText : "<no control " + std::to_string(id) + ">";
}

inline std::vector<std::string> ItemsOf(DialogWindow& dialog, int id) {
    std::vector<std::string> items;
    if (ControlWindow* c = dialog.Control(id))
        for (const auto& item : c->m_items) items.push_back(item.strText);
    return items;
}

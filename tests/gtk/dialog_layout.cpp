#include "dialog_layout.h"

#include <algorithm>

namespace {

// What Windows draws beside a control's text, in pixels at 96 dots per inch:
// the 13-pixel box of a check box or radio button and the 4 pixels after it;
// the indent of a group box's caption at both ends; the edges of a push
// button; the arrow button (SM_CXVSCROLL) and edges of a closed combo box.
constexpr LONG kCheckBox = 13 + 4;
constexpr LONG kGroupCaption = 8 + 8;
constexpr LONG kButtonEdges = 4 + 4;
constexpr LONG kComboChrome = 17 + 4;

std::string Describe(const DialogWindow& dialog, size_t index) {
    const DialogItemTemplate& item = dialog.Template().items[index];
    const ControlWindow& c = *dialog.Controls()[index];
    std::string name = item.nId >= 0 ? "control " + std::to_string(item.nId) : "static";
    if (!c.m_strText.empty()) name += " \"" + c.m_strText + "\"";
    return name + " (" + std::to_string(item.x) + "," + std::to_string(item.y) + "," +
           std::to_string(item.cx) + "," + std::to_string(item.cy) + ")";
}

bool Overlap(const RECT& a, const RECT& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

}  // namespace

std::vector<std::string> LayoutFaults(const GtkPresenter& presenter, const DialogWindow& dialog) {
    std::vector<std::string> faults;
    const auto& controls = dialog.Controls();
    const SIZE base = presenter.BaseUnits();
    std::vector<RECT> rects(controls.size());
    for (size_t i = 0; i < controls.size(); ++i) presenter.ItemRect(dialog, i, &rects[i]);

    const auto extent = [&](const std::string& text, int wrap) {
        SIZE size{0, 0};
        presenter.TextExtent(text, wrap, &size);
        return size;
    };
    const auto tooSmall = [&](size_t i, const std::string& text, SIZE need, const RECT& room) {
        faults.push_back(Describe(dialog, i) + ": \"" + text + "\" needs " +
                         std::to_string(need.cx) + " by " + std::to_string(need.cy) +
                         " pixels on one line, has " + std::to_string(room.right - room.left) +
                         " by " + std::to_string(room.bottom - room.top));
    };
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlWindow& c = *controls[i];
        const RECT& r = rects[i];
        const LONG width = r.right - r.left, height = r.bottom - r.top;
        LONG chrome = 0;
        bool wraps = false;
        switch (c.m_kind) {
            case ControlKind::Label: wraps = true; break;  // a static wraps at blanks
            case ControlKind::CheckBox:
            case ControlKind::RadioButton: chrome = kCheckBox; break;
            case ControlKind::GroupBox: chrome = kGroupCaption; break;
            case ControlKind::PushButton:
            case ControlKind::DefaultPushButton: chrome = kButtonEdges; break;
            case ControlKind::DropDownList:
            case ControlKind::DropDownCombo:
                for (const ComboItem& item : c.m_items) {
                    const SIZE need = extent(item.strText, 0);
                    if (need.cx + kComboChrome > width)
                        tooSmall(i, item.strText, {need.cx + kComboChrome, need.cy}, r);
                }
                continue;
            default: continue;
        }
        if (c.m_strText.empty()) continue;
        SIZE need = extent(c.m_strText, 0);
        need.cx += chrome;
        // A group box's caption sits on its frame: only its width counts. A
        // static's text may take more lines when its height has room for them.
        const bool heightCounts = c.m_kind != ControlKind::GroupBox;
        const bool fits = need.cx <= width && (!heightCounts || need.cy <= height);
        const auto wrapsToFit = [&] {
            const SIZE lines = extent(c.m_strText, static_cast<int>(width));
            return lines.cx <= width && lines.cy <= height;
        };
        if (!fits && !(wraps && wrapsToFit())) tooSmall(i, c.m_strText, need, r);
        // GTK widens a widget whose text it cannot show in the size asked.
        RECT shown;
        if (c.m_bVisible && presenter.ItemWidgetRect(i, &shown) &&
            (shown.right - shown.left > width || shown.bottom - shown.top > height))
            faults.push_back(Describe(dialog, i) + ": GTK shows it " +
                             std::to_string(shown.right - shown.left) + " by " +
                             std::to_string(shown.bottom - shown.top) + " pixels, not " +
                             std::to_string(width) + " by " + std::to_string(height));
    }

    const DialogTemplate& t = dialog.Template();
    const RECT client{0, 0, (t.cx * base.cx + 2) / 4, (t.cy * base.cy + 4) / 8};
    const auto inside = [](const RECT& r, const RECT& frame, LONG captionHeight) {
        return r.left > frame.left && r.right < frame.right && r.top >= frame.top + captionHeight &&
               r.bottom < frame.bottom;
    };
    for (size_t i = 0; i < controls.size(); ++i) {
        if (rects[i].left < 0 || rects[i].top < 0 || rects[i].right > client.right ||
            rects[i].bottom > client.bottom)
            faults.push_back(Describe(dialog, i) + " lies past the dialog's edge");
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (!Overlap(rects[i], rects[j])) continue;
            const bool iGroup = controls[i]->m_kind == ControlKind::GroupBox;
            const bool jGroup = controls[j]->m_kind == ControlKind::GroupBox;
            if ((iGroup && !jGroup && inside(rects[j], rects[i], base.cy)) ||
                (jGroup && !iGroup && inside(rects[i], rects[j], base.cy)))
                continue;
            faults.push_back(Describe(dialog, i) + " and " + Describe(dialog, j) + " overlap");
        }
    }
    return faults;
}

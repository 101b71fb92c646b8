#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

#include "win32/user32/dialog_window.h"
#include "win32/user32/ui_presenter.h"
#include "win32/user32/window.h"

namespace {

std::chrono::milliseconds IntervalOf(const DialogWindow& dialog, UINT_PTR id) {
    const auto found = dialog.m_timerElapse.find(id);
    return std::chrono::milliseconds(found == dialog.m_timerElapse.end() ? 10 : found->second);
}

}  // namespace

void RunDialogUnseen(DialogWindow& dialog) {
    using Clock = std::chrono::steady_clock;
    std::map<UINT_PTR, Clock::time_point> due;
    while (!dialog.m_bEnded) {
        if (dialog.m_timers.empty()) {
            EndDialog(dialog.Handle(), IDCANCEL);
            return;
        }
        // Handlers may set and kill timers: the schedule follows the list.
        const auto now = Clock::now();
        std::erase_if(due, [&](const auto& entry) {
            return std::find(dialog.m_timers.begin(), dialog.m_timers.end(), entry.first) ==
                   dialog.m_timers.end();
        });
        for (UINT_PTR id : dialog.m_timers)
            if (!due.count(id)) due[id] = now + IntervalOf(dialog, id);
        const auto next =
            std::min_element(due.begin(), due.end(), [](const auto& a, const auto& b) {
                return a.second < b.second;
            })->second;
        std::this_thread::sleep_until(next);
        const std::vector<UINT_PTR> timers = dialog.m_timers;
        for (UINT_PTR id : timers) {
            if (dialog.m_bEnded) break;
            const auto at = due.find(id);
            if (at == due.end() || at->second > Clock::now()) continue;
            dialog.TimerTick(id);
            at->second = Clock::now() + IntervalOf(dialog, id);
        }
    }
}

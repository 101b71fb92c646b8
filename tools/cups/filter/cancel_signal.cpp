#include "filter/cancel_signal.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t g_cancelled = 0;

void OnTerminate(int) {
    g_cancelled = 1;
}

}  // namespace

void CatchCancel() {
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
}

bool Cancelled() {
    return g_cancelled != 0;
}

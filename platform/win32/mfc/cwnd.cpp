#include "mfc/cwnd.h"

#include <map>
#include <memory>
#include <mutex>

IMPLEMENT_DYNAMIC(CWnd, CObject)

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    static std::mutex lock;
    static std::map<HWND, std::unique_ptr<CWnd>> wrappers;
    std::lock_guard<std::mutex> guard(lock);
    auto& wrapper = wrappers[hWnd];
    if (!wrapper) wrapper = std::make_unique<CWnd>(hWnd);
    return wrapper.get();
}

#include "render/progress_fixture.h"

std::atomic<int> CountedPoolThread::s_nLive{0};
std::atomic<int> CountedPoolThread::s_nMade{0};
std::atomic<int> CountedPoolThread::s_nDeleted{0};
std::atomic<INT_PTR> CountedPoolThread::s_nLastResult{-100};

IMPLEMENT_DYNCREATE(CountedPoolThread, CPrintPoolThread)

CountedPoolThread::CountedPoolThread() {
    s_nLive.fetch_add(1);
    s_nMade.fetch_add(1);
}

CountedPoolThread::~CountedPoolThread() {
    s_nLastResult.store(m_nDialogResult);
    s_nLive.fetch_sub(1);
    s_nDeleted.fetch_add(1);
}

void ProgressThreadTest::SetUp() {
    SetUiPresenter(&presenter);
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    CountedPoolThread::s_nMade = 0;
    CountedPoolThread::s_nDeleted = 0;
    CountedPoolThread::s_nLastResult = -100;
}

void ProgressThreadTest::TearDown() {
    AfxWaitForAllThreads();
    SetUiPresenter(nullptr);
    SetResourceLanguage(0);
    EXPECT_EQ(CountedPoolThread::s_nLive.load(), 0);
    EXPECT_EQ(CountedPoolThread::s_nDeleted.load(), CountedPoolThread::s_nMade.load());
}

// This platform's own addition, not a Win32 name: threads started through
// AfxBeginThread (or CWinThread::CreateThread) are counted from their start
// to their very end, so that a host can wait until no thread runs module
// code any more before it unloads the module or exits, and tests can wait
// before they look at results.
#pragma once

#include "win32/types.h"

// Returns when every counted thread has ended (its object deleted when it
// deletes itself). From a counted thread it waits for all the others.
WIN32_API void AfxWaitForAllThreads();
// The threads counted now.
WIN32_API int AfxRunningThreadCount();
// For tests of code that must cope with a thread that cannot start: the
// next nCount thread starts fail as when the system has no resources left.
WIN32_API void AfxFailNextThreadStarts(int nCount);

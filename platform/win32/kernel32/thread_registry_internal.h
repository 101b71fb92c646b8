// The count behind AfxWaitForAllThreads, for the thread start of CWinThread.
#pragma once

namespace win32 {

// Counts a thread about to start; false when a test asked this start to fail.
bool EnterCountedThread();
// The counted thread's very last step (or its failed start).
void LeaveCountedThread();
// Marks the calling thread as counted, for the wait from inside one.
void MarkCountedThread();

}  // namespace win32

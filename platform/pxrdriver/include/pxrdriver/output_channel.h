// The host's output object: every byte of a plot job goes out through it.
#pragma once

#include <windows.h>

#include "pxrdriver/api.h"

class PXR_API OutputChannel {
public:
    // Slot 0: opens the destination; nonzero when it is open.
    virtual int Open(const char* pszTarget) = 0;
    // Slot 1: drops what was written so far, leaving no partial job behind.
    virtual void Abort() = 0;
    // Slot 2: appends the bytes to the job.
    virtual void Write(const void* pBuffer, int nLength) = 0;
    // Slot 3: ends the job's output.
    virtual void Close() = 0;
    virtual ~OutputChannel();
};

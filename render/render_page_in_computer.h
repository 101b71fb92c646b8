// Host callback +144 of plotters that render whole pages in the computer:
// each page goes to a render thread of its own, with a progress thread
// showing "Plot transaction" and its Cancel button.
#pragma once

#include <windows.h>

#include "pxrdriver/host_context.h"

class CEvent;

// What the host's thread hands the render thread; it lives on the host's
// stack until the event is set.
struct PageRenderRequest {
    HostContext** ppHost;
    HENHMETAFILE* phMetaFile;
    const char** ppszText;
    void* pArgument;
    CEvent* pEvent;
};

// 1 once the render thread has taken the metafile over; 0 when no render
// thread could be started (the job is then the host's as before).
int RenderPageInComputer(HostContext* pHost, HENHMETAFILE hMetaFile, const char* pszText,
                         void* pArgument);

// The render thread: renders the page with progress, then tells the
// progress thread that it has finished. Exit code 1.
UINT RenderPageThread(LPVOID pParam);

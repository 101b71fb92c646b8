#include "render/render_page_in_computer.h"

#include <afxmt.h>
#include <afxwin.h>

#include <string>

#include "job/job_context.h"
#include "render/print_pool_thread.h"
#include "render/render_page_to_raster.h"

int RenderPageInComputer(HostContext* pHost, HENHMETAFILE hMetaFile, const char* pszText,
                         void* pArgument) {
    CEvent event(FALSE, FALSE, nullptr, nullptr);
    event.ResetEvent();
    PageRenderRequest request{&pHost, &hMetaFile, &pszText, pArgument, &event};
    if (!AfxBeginThread(RenderPageThread, &request, THREAD_PRIORITY_NORMAL, 0, 0, nullptr))
        return 0;
    WaitForSingleObject(event, INFINITE);
    // The page's raster writer holds the channel now and ends the job.
    if (JobContext* job = JobOf(pHost)) job->m_pOutput = nullptr;
    return 1;
}

UINT RenderPageThread(LPVOID pParam) {
    auto* request = static_cast<PageRenderRequest*>(pParam);
    HostContext* host = *request->ppHost;
    HENHMETAFILE metafile = *request->phMetaFile;
    void* argument = request->pArgument;
    CEvent* event = request->pEvent;
    const std::string text = *request->ppszText ? *request->ppszText : "";
    // After the event is set the request is gone: only copies are used.

    auto* progress = static_cast<CPrintPoolThread*>(
        AfxBeginThread(RUNTIME_CLASS(CPrintPoolThread), THREAD_PRIORITY_NORMAL, 0, 0, nullptr));
    int frame = 0;  // the fourth argument's block, as the renderer asks for one
    (void)argument;
    RenderPageToRaster(host, metafile, text.c_str(), &frame,
                       progress ? static_cast<IDrawCallback*>(progress) : nullptr, event);
    // The last use of the progress thread's object: it may end and delete
    // itself once it sees this.
    if (progress) progress->SetFinished();
    return 1;
}

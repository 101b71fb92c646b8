#include "driver/callback_table.h"

#include <new>

#include "driver/callback_groups.h"
#include "driver/device_description.h"
#include "driver/driver_state.h"
#include "hpgl/path_collector.h"
#include "job/job_context.h"
#include "job/job_frame.h"
#include "pxrdriver/regions.h"

void FillCallbackTable(DriverCallbacks* t, int nTransaction) {
    *t = DriverCallbacks{};
    t->CreateJobContext = CreateJobContext;
    t->DestroyJobContext = DestroyJobContext;
    t->DescribeDevice = DescribeDevice;
    t->ComputePageGeometry = ComputePageGeometry;
    t->GetDeviceCaps = GetDeviceCaps;
    t->Reserved88 = Reserved88;
    InstallJobCallbacks(t);
    // Pages rendered in the computer do not come through the vector entries.
    if (nTransaction == kTransactionInComputer) {
        InstallWholePageCallbacks(t);
    } else {
        InstallVectorCallbacks(t);
        InstallImageCallbacks(t);
        InstallRegionCallbacks(t);
    }
}

int AttachDriver(DriverState* driver, HostContext* pHost) {
    if (!pHost) return 0;
    // Attaching again without a detach replaces the job record of the last
    // attachment instead of losing it.
    if (pHost->pJob && DriverOf(pHost) == driver) {
        HostContext* host = pHost;
        EndJob(&host, 0);  // a plot still open is finished, not cut off
        DestroyJobContext(pHost);
    }
    driver->m_attributes.m_pHost = pHost;
    pHost->pCallbacks = &driver->m_callbacks;
    FillCallbackTable(&driver->m_callbacks, driver->m_devmode.nTransaction);
    if (!CreateJobContext(pHost)) {
        driver->m_callbacks = DriverCallbacks{};
        return 0;
    }
    return 1;
}

int DetachDriver(DriverState* driver, HostContext* pHost) {
    if (driver->m_callbacks.DestroyJobContext) driver->m_callbacks.DestroyJobContext(pHost);
    driver->m_callbacks = DriverCallbacks{};
    return 1;
}

int CreateJobContext(HostContext* pHost) {
    if (!pHost) return 0;
    JobContext* job = new (std::nothrow) JobContext{};
    if (!job) return 0;
    pHost->pJob = job;
    return 1;
}

void DestroyJobContext(HostContext* pHost) {
    JobContext* job = JobOf(pHost);
    if (!job) return;
    if (job->m_pClipData) HT_DeleteRgn(job->m_pClipData);
    delete job->m_pClipRgn;
    ClearFigures(job);
    delete job;
    pHost->pJob = nullptr;
}

int Reserved88(HostContext*) {
    return 1;
}

int TableDeviceCap(HostContext* pHost, int nIndex) {
    const DriverCallbacks* table = pHost ? pHost->pCallbacks : nullptr;
    return table && table->GetDeviceCaps ? table->GetDeviceCaps(pHost, nIndex) : 0;
}

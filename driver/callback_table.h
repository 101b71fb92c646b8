// Attaching a driver to a drawing context: the callback table and the job record.
#pragma once

#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/host_context.h"

struct DriverState;

// Fills the table for the transaction mode: mode 1 renders whole pages in
// the computer and gets only that entry besides the common ones; every
// other mode gets the vector entries.
void FillCallbackTable(DriverCallbacks* pTable, int nTransaction);

int AttachDriver(DriverState* pDriver, HostContext* pHost);
int DetachDriver(DriverState* pDriver, HostContext* pHost);

int CreateJobContext(HostContext* pHost);
void DestroyJobContext(HostContext* pHost);
int Reserved88(HostContext* pHost);

// A device capability asked through the context's table, as the host would;
// 0 when the table has no such entry.
int TableDeviceCap(HostContext* pHost, int nIndex);

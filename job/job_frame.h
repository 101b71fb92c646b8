// The frame of every plot job: control code, PJL header and HP-GL/2
// initialisation at the start, the fixed end-of-job sequence at the end.
#pragma once

#include "pxrdriver/host_context.h"

// ppHost points to a block whose first member is the context pointer.
void BeginJob(HostContext** ppHost);
void EndJob(HostContext** ppHost, int nIgnored);
int EndDocument(HostContext* pHost);

// The device description, page geometry and device capabilities that the
// driver gives the host for its settings record.
#pragma once

#include "pxrdriver/host_context.h"

void DescribeDevice(HostContext* pHost);
void ComputePageGeometry(HostContext* pHost);
int GetDeviceCaps(HostContext* pHost, int nIndex);

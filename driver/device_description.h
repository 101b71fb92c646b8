// The device description, page geometry and device capabilities that the
// driver gives the host for its settings record.
#pragma once

#include "pxrdriver/host_context.h"

void DescribeDevice(HostContext* pHost);
void ComputePageGeometry(HostContext* pHost);
int GetDeviceCaps(HostContext* pHost, int nIndex);

// A capability index of the host framework's own, beyond the Win32 ones; the
// host expects 1 for it and 0 for every index above it.
constexpr int kCapsReserved179 = 179;

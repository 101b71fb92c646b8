// The start of a document: destination, device description, output channel,
// job frame and the page clip region.
#pragma once

#include <windows.h>

#include "pxrdriver/host_context.h"

class OutputChannel;

int StartDocument(HostContext* pHost, const DOCINFOA* pDocInfo, OutputChannel* pChannel);
LONG_PTR OpenOutput(HostContext* pHost);
int SetParentWindow(HostContext* pHost, HWND hWnd);

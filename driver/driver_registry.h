// The module's requests: create the drivers of "hpgl2.ini", destroy one.
#pragma once

// Request 2 creates one driver per configured plotter and hands each to the
// host's list; request 3 destroys one. Other requests do nothing. Results
// are the host's: 1 done, 0 for a null argument of requests 2 and 3.
int HandleDriverRequest(int nRequest, void* pArgument);

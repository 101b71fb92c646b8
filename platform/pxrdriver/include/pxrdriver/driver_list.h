// The host's list of driver objects, handed to the module's load request.
#pragma once

#include "pxrdriver/api.h"

class HT_Driver;

class PXR_API HT_DriverList {
public:
    virtual int GetCount() const = 0;                   // 0
    virtual void AddDriver(HT_Driver* pDriver) = 0;     // 1: the list takes ownership
    virtual void RemoveDriver(HT_Driver* pDriver) = 0;  // 2: drops the entry; never dereferences
    virtual ~HT_DriverList();
};

// Request codes of the module's export IT_Driver.
#define IT_REQ_LOAD_DRIVERS 2
#define IT_REQ_UNLOAD_DRIVER 3

struct HT_UnloadRequest {
    HT_DriverList* pList;
    HT_Driver* pDriver;
};

using PFN_IT_Driver = int (*)(int nRequest, void* pArgument);

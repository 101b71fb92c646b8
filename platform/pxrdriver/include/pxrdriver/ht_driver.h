// Base classes of every plotter driver: the 17 virtual operations the host
// framework calls, in slot order.
#pragma once

#include <windows.h>

#include "pxrdriver/api.h"

struct HostContext;

class PXR_API HT_IF {
public:
    virtual int QueryDriverInterface(const GUID& iid, void** ppObject) = 0;                    // 0
    virtual const char* GetName() = 0;                                                         // 1
    virtual int Configure(HWND hParent) = 0;                                                   // 2
    virtual int Reserved3(DWORD) = 0;                                                          // 3
    virtual int SetDevMode(HGLOBAL hDevMode) = 0;                                              // 4
    virtual int GetDevMode(HGLOBAL hDevMode) = 0;                                              // 5
    virtual int Reserved6(DWORD) = 0;                                                          // 6
    virtual int Reserved7(DWORD) = 0;                                                          // 7
    virtual int Attach(HostContext* pHost) = 0;                                                // 8
    virtual int Detach(HostContext* pHost) = 0;                                                // 9
    virtual HGLOBAL GetDefaultDevMode() = 0;                                                   // 10
    virtual int DeviceCapabilities(WORD nIndex, char* pOutput, const DEVMODEA* pDevMode) = 0;  // 11
    virtual int AddPaper(const char* pszName, double dWidth, double dLength, double dLeft,
                         double dRight, double dTop, double dBottom, int* pCode) = 0;  // 12
    virtual int SetCustomPaper(const char* pszName, double dWidth, double dLength, double dLeft,
                               double dRight, double dTop, double dBottom, DWORD) = 0;  // 13
    virtual int Reserved14(DWORD) = 0;                                                  // 14
    virtual int Reserved15(const char* pszName, double, double, double, double, double, double,
                           DWORD) = 0;  // 15
    virtual ~HT_IF();                   // 16
};

// The framework's driver base: answers the reserved slots as drivers do.
class PXR_API HT_Driver : public HT_IF {
public:
    int Reserved3(DWORD) override { return 1; }
    int Reserved6(DWORD) override { return 1; }
    int Reserved7(DWORD) override { return 1; }
    int Reserved14(DWORD) override { return 0; }
    int Reserved15(const char*, double, double, double, double, double, double, DWORD) override {
        return 0;
    }
    ~HT_Driver() override;
};

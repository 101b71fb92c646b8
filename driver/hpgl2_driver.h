// The driver object the host holds for one configured plotter.
#pragma once

#include <string>
#include <windows.h>

#include "driver/driver_state.h"
#include "pxrdriver/ht_driver.h"

class HPGL2Driver : public HT_Driver, public DriverState {
public:
    // Reads the settings of section pszSection of the ini file pszIniPath.
    HPGL2Driver(void* pReserved, const char* pszIniPath, const char* pszSection);
    ~HPGL2Driver() override;
    HPGL2Driver(const HPGL2Driver&) = delete;
    HPGL2Driver& operator=(const HPGL2Driver&) = delete;

    int QueryDriverInterface(const GUID& iid, void** ppObject) override;
    const char* GetName() override;
    int Configure(HWND hParent) override;
    int SetDevMode(HGLOBAL hDevMode) override;
    int GetDevMode(HGLOBAL hDevMode) override;
    int Attach(HostContext* pHost) override;
    int Detach(HostContext* pHost) override;
    HGLOBAL GetDefaultDevMode() override;
    int DeviceCapabilities(WORD nIndex, char* pOutput, const DEVMODEA* pDevMode) override;
    int AddPaper(const char* pszName, double dWidth, double dLength, double dLeft, double dRight,
                 double dTop, double dBottom, int* pCode) override;
    int SetCustomPaper(const char* pszName, double dWidth, double dLength, double dLeft,
                       double dRight, double dTop, double dBottom, DWORD) override;

    HGLOBAL m_hDefaultDevMode;
    std::string m_strPrivateFile;
    std::string m_strSection;
};

// Plotters whose configuration name begins with "OCE": the same driver
// under its own class.
class COceDriver : public HPGL2Driver {
public:
    using HPGL2Driver::HPGL2Driver;
    ~COceDriver() override;
};

// {5B3A4DFA-540C-4EC3-A404-5C51AD31789A}
inline constexpr GUID IID_HPGL2Driver = {
    0x5B3A4DFA, 0x540C, 0x4EC3, {0xA4, 0x04, 0x5C, 0x51, 0xAD, 0x31, 0x78, 0x9A}};

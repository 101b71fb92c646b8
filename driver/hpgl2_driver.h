// The driver object the host holds for one configured plotter.
#pragma once

#include <string>
#include <windows.h>

#include "driver/hpgl2_devmode.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/ht_driver.h"
#include "pxrdriver/paper.h"

class HPGL2Driver : public HT_Driver {
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

    // Brings the paper size and margins of the record up to date with its
    // paper code and orientation, from the paper list.
    void RefreshPaperGeometry(HPGL2DevMode* pRecord);

    std::string m_strName;
    HPGL2DevMode m_devmode;
    DrawAttributes m_attributes;  // first member m_pHost: the attached context
    HostPenRecord m_penRecord;
    LONG m_nBrushStyle;
    COLORREF m_crBrush;
    LONG m_nBrushHatch;
    HGLOBAL m_hDefaultDevMode;
    std::string m_strPrivateFile;
    std::string m_strPaperFile;
    std::string m_strSection;
    PaperSize m_customPaper;
    DriverCallbacks m_callbacks;
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

inline HPGL2Driver* DriverOf(HostContext* pHost) {
    return pHost ? static_cast<HPGL2Driver*>(pHost->pDriver) : nullptr;
}

// Copies text into a fixed field, always leaving a NUL inside it.
void CopyToField(char* pField, size_t nFieldSize, const char* pszText);

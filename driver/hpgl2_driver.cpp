#include "driver/hpgl2_driver.h"

#include <cstring>
#include <new>

#include "driver/callback_table.h"
#include "ui/hpgl2_custom_dlg.h"
#include "ui/module_resources.h"
#include "pxrdriver/app_paths.h"

namespace {

constexpr DWORD kKeyBufferSize = 256;

std::string ReadStringKey(const char* section, const char* key, const char* fallback,
                          const char* file) {
    char buffer[kKeyBufferSize] = {};
    GetPrivateProfileStringA(section, key, fallback, buffer, kKeyBufferSize, file);
    return buffer;
}

bool IsAcceptedStoredRecord(const HPGL2DevMode& r) {
    return r.dm.dmSize == sizeof(DEVMODEA) &&
           r.dm.dmDriverExtra == sizeof(HPGL2DevMode) - sizeof(DEVMODEA) &&
           r.dm.dmDriverVersion == 2 && r.dm.dmSpecVersion == 1;
}

}  // namespace

DriverState* DriverOf(HostContext* pHost) {
    return pHost ? static_cast<HPGL2Driver*>(pHost->pDriver) : nullptr;
}

HPGL2Driver::HPGL2Driver(void*, const char* pszIniPath, const char* pszSection)
    : m_hDefaultDevMode(nullptr) {
    const char* ini = pszIniPath ? pszIniPath : "";
    const char* section = pszSection ? pszSection : "";
    const std::string appFolder = KestGetAppFullPath();

    m_strName = ReadStringKey(section, "Name", "KEST HPGL/2 1.0", ini);

    const std::string privateFile = ReadStringKey(section, "PrivateFile", "", ini);
    if (privateFile.empty()) {
        m_strPrivateFile = ini;
        m_strSection = section;
    } else {
        m_strPrivateFile = appFolder + "\\" + privateFile;
        m_strSection = "General";
    }

    const std::string paperFile =
        ReadStringKey(section, "PaperFile", (appFolder + "\\hpgl2.ini").c_str(), ini);
    m_strPaperFile = std::string(KestGetAppDataPath()) + "\\" + paperFile;

    FillDefaultDevMode(&m_devmode);
    const char* file = m_strPrivateFile.c_str();
    const char* keys = m_strSection.c_str();
    m_devmode.nTransaction = static_cast<LONG>(GetPrivateProfileIntA(keys, "EMFSPOOLING", 0, file));
    m_devmode.nClipMode = static_cast<LONG>(GetPrivateProfileIntA(keys, "CLIPPER", 0, file));
    m_devmode.bRenderMode = static_cast<BYTE>(GetPrivateProfileIntA(keys, "RENDERMODE", 0, file));
    m_devmode.nColorMode = static_cast<LONG>(GetPrivateProfileIntA(keys, "COLOR", 1, file));

    HPGL2DevMode stored;
    if (GetPrivateProfileStructA(keys, "ALLSETTING", &stored, sizeof stored, file) &&
        IsAcceptedStoredRecord(stored)) {
        m_devmode = stored;
        // A record written elsewhere may lack the terminator of its text field.
        m_devmode.szControlCode[sizeof m_devmode.szControlCode - 1] = '\0';
    }
}

HPGL2Driver::~HPGL2Driver() {
    if (m_hDefaultDevMode) GlobalFree(m_hDefaultDevMode);
}

COceDriver::~COceDriver() = default;

int HPGL2Driver::QueryDriverInterface(const GUID& iid, void** ppObject) {
    if (!(iid == IID_HPGL2Driver)) return 0;
    if (ppObject) *ppObject = this;
    return 1;
}

const char* HPGL2Driver::GetName() {
    return m_strName.c_str();
}

// Shows the settings dialog over the host's window; OK changes m_devmode,
// Cancel leaves it. The host's call always succeeds.
int HPGL2Driver::Configure(HWND hParent) {
    try {
        ModuleResourceScope resources;
        CWnd parent(hParent);
        CDlgHpgl2Custom dialog(&parent);
        dialog.m_pDriver = this;
        dialog.m_pDevMode = &m_devmode;
        dialog.DoModal();
    } catch (...) {
        // Out of memory while building the dialog: nothing was changed.
    }
    return 1;
}

// A handle whose block is smaller than the record is refused: copying the
// whole record would read or write past its end.
int HPGL2Driver::SetDevMode(HGLOBAL hDevMode) {
    auto* record = static_cast<HPGL2DevMode*>(GlobalLock(hDevMode));
    if (!record) return 0;
    int ok = 0;
    if (GlobalSize(hDevMode) >= sizeof(HPGL2DevMode) &&
        record->dm.dmDriverExtra == m_devmode.dm.dmDriverExtra) {
        std::memcpy(&m_devmode, record, sizeof m_devmode);
        m_devmode.szControlCode[sizeof m_devmode.szControlCode - 1] = '\0';
        ok = 1;
    }
    GlobalUnlock(hDevMode);
    return ok;
}

int HPGL2Driver::GetDevMode(HGLOBAL hDevMode) {
    if (!hDevMode) return 1;
    auto* record = static_cast<HPGL2DevMode*>(GlobalLock(hDevMode));
    if (!record) return 0;
    int ok = 0;
    if (GlobalSize(hDevMode) >= sizeof(HPGL2DevMode) &&
        record->dm.dmDriverExtra == m_devmode.dm.dmDriverExtra) {
        std::memcpy(record, &m_devmode, sizeof m_devmode);
        ok = 1;
    }
    GlobalUnlock(hDevMode);
    return ok;
}

int HPGL2Driver::Attach(HostContext* pHost) {
    return AttachDriver(this, pHost);
}

int HPGL2Driver::Detach(HostContext* pHost) {
    return DetachDriver(this, pHost);
}

HGLOBAL HPGL2Driver::GetDefaultDevMode() {
    if (m_hDefaultDevMode) return m_hDefaultDevMode;
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(HPGL2DevMode));
    if (!handle) return nullptr;
    auto* record = static_cast<HPGL2DevMode*>(GlobalLock(handle));
    if (!record) {
        GlobalFree(handle);
        return nullptr;
    }
    FillDefaultDevMode(record);
    GlobalUnlock(handle);
    m_hDefaultDevMode = handle;
    return handle;
}

int HPGL2Driver::DeviceCapabilities(WORD nIndex, char* pOutput, const DEVMODEA* pDevMode) {
    return HT_DefaultDeviceCapabilities(nIndex, pOutput, pDevMode, m_strPaperFile.c_str());
}

#include "host/loaded_module.h"

#include <algorithm>
#include <cstdlib>

#include "host/module_library.h"

#include "pxrdriver/app_paths.h"
#include "pxrdriver/ht_driver.h"
#include "win32/kernel32/profile.h"
#include "win32/kernel32/thread_registry.h"

void HostDriverList::RemoveDriver(HT_Driver* pDriver) {
    // The driver is already destroyed: its address only identifies the entry.
    auto it = std::find(m_drivers.begin(), m_drivers.end(), pDriver);
    if (it != m_drivers.end()) m_drivers.erase(it);
}

LoadedModule::~LoadedModule() {
    // Render and progress threads of the module may still run its code (a
    // cancelled page's progress dialog ends at its next tick): neither its
    // drivers nor the module itself may go before they have ended.
    AfxWaitForAllThreads();
    if (m_entry) {
        while (m_list.GetCount() > 0) {
            const int before = m_list.GetCount();
            HT_UnloadRequest request{&m_list, m_list.At(before - 1)};
            m_entry(IT_REQ_UNLOAD_DRIVER, &request);
            if (m_list.GetCount() == before) break;  // the module kept it: do not loop
        }
    }
    if (m_handle) CloseModuleLibrary(m_handle);
}

bool LoadedModule::Load(const std::string& path, std::string* error) {
    std::string why;
    m_handle = OpenModuleLibrary(path, &why);
    if (!m_handle) {
        *error = "cannot load the driver module " + path + ": " + why;
        return false;
    }
    m_entry = reinterpret_cast<PFN_IT_Driver>(ModuleLibrarySymbol(m_handle, "IT_Driver"));
    if (!m_entry) {
        *error = path + " is not a plotter driver module: it has no IT_Driver";
        return false;
    }
    if (!m_entry(IT_REQ_LOAD_DRIVERS, &m_list)) {
        *error = "the driver module refused to create its drivers";
        return false;
    }
    return true;
}

HT_Driver* LoadedModule::Find(const std::string& name) {
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
        const long place = std::strtol(name.c_str(), nullptr, 10);
        if (place >= 1 && place <= m_list.GetCount()) return m_list.At(static_cast<int>(place - 1));
    }
    for (int i = 0; i < m_list.GetCount(); ++i) {
        HT_Driver* driver = m_list.At(i);
        if (name == driver->GetName()) return driver;
    }
    // A configuration name (a section of hpgl2.ini) stands for the display
    // name its section gives.
    const std::string ini = std::string(KestGetAppFullPath()) + "\\hpgl2.ini";
    char display[256] = {};
    GetPrivateProfileStringA(name.c_str(), "Name", "", display, sizeof display, ini.c_str());
    for (int i = 0; display[0] != '\0' && i < m_list.GetCount(); ++i)
        if (std::string(display) == m_list.At(i)->GetName()) return m_list.At(i);
    return nullptr;
}

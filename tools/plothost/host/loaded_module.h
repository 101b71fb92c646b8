// The plotter driver module as a host sees it: a library loaded by path,
// its export IT_Driver, and the drivers it made, owned by the host's list.
#pragma once

#include <string>
#include <vector>

#include "pxrdriver/driver_list.h"

class HostDriverList : public HT_DriverList {
public:
    int GetCount() const override { return static_cast<int>(m_drivers.size()); }
    void AddDriver(HT_Driver* pDriver) override { m_drivers.push_back(pDriver); }
    void RemoveDriver(HT_Driver* pDriver) override;
    HT_Driver* At(int index) const { return m_drivers[static_cast<size_t>(index)]; }

private:
    std::vector<HT_Driver*> m_drivers;
};

class LoadedModule {
public:
    LoadedModule() = default;
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // Loads the module and asks it for its drivers; false with a message on failure.
    bool Load(const std::string& path, std::string* error);
    HostDriverList& Drivers() { return m_list; }
    // The driver whose display name is name, whose place in the list
    // (counted from 1) it is, or whose configuration (section of hpgl2.ini)
    // is named so; null when none.
    HT_Driver* Find(const std::string& name);

private:
    void* m_handle = nullptr;
    PFN_IT_Driver m_entry = nullptr;
    HostDriverList m_list;
};

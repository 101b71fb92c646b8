// A scratch application folder that is also the user's data folder, with the
// environment pointing the framework at it for the lifetime of the object.
#pragma once

#include <string>

#include "support/test_files.h"

class ScratchConfig {
public:
    ScratchConfig() : m_app("PXR_APP_DIR", m_dir.path()), m_data("PXR_DATA_DIR", m_dir.path()) {}

    const std::string& path() const { return m_dir.path(); }
    std::string Ini() const { return m_dir.path() + "/hpgl2.ini"; }
    std::string Write(const std::string& name, const std::string& text) const {
        return m_dir.Write(name, text);
    }
    std::string Read(const std::string& name) const { return m_dir.Read(name); }
    // Copies the bundled paper list into the folder as "paper.ini".
    void UseBundledPapers() const;

private:
    ScratchDir m_dir;
    ScopedEnv m_app;
    ScopedEnv m_data;
};

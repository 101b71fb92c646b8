#include "support/test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hpgl2-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    m_path = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchDir::Write(const std::string& name, const std::string& text) const {
    const std::string full = m_path + "/" + name;
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out << text;
    return full;
}

std::string ScratchDir::Read(const std::string& name) const {
    std::ifstream in(m_path + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    const char* old = std::getenv(name);
    m_hadOld = old != nullptr;
    if (old) m_old = old;
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_hadOld)
        setenv(m_name.c_str(), m_old.c_str(), 1);
    else
        unsetenv(m_name.c_str());
}

#include "support/scratch_config.h"

void ScratchConfig::UseBundledPapers() const {
    std::ifstream in(std::string(HPGL2_SOURCE_DIR) + "/config/paper.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    Write("paper.ini", text.str());
}

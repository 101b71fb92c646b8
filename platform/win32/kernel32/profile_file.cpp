#include "kernel32/profile_file.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "win32/kernel32/native_path.h"

namespace win32 {
namespace {

std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(s[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(s[end - 1]))) --end;
    return s.substr(begin, end - begin);
}

}  // namespace

bool EqualsNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0') return false;
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return b[i] == '\0';
}

std::optional<ProfileFile> LoadProfile(const char* path) {
    if (!path) return std::nullopt;
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) return std::nullopt;
    ProfileFile file;
    std::string line;
    ProfileSection* current = nullptr;
    while (std::getline(in, line)) {
        std::string text = Trim(line);
        if (text.empty() || text[0] == ';') continue;
        if (text[0] == '[') {
            size_t close = text.find(']');
            std::string name =
                Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            file.sections.push_back({name, {}});
            current = &file.sections.back();
            continue;
        }
        if (!current) continue;  // keys before the first section belong to none
        size_t eq = text.find('=');
        if (eq == std::string::npos)
            current->entries.push_back({text, ""});
        else
            current->entries.push_back({Trim(text.substr(0, eq)), Trim(text.substr(eq + 1))});
    }
    return file;
}

bool SaveProfile(const char* path, const ProfileFile& file) {
    std::ostringstream out;
    for (const ProfileSection& section : file.sections) {
        out << '[' << section.name << "]\r\n";
        for (const ProfileEntry& entry : section.entries)
            out << entry.key << '=' << entry.value << "\r\n";
    }
    const std::string target = NativePath(path);
    const std::string temporary = target + ".tmp";
    {
        std::ofstream tmp(temporary, std::ios::binary | std::ios::trunc);
        if (!tmp) return false;
        const std::string text = out.str();
        tmp.write(text.data(), static_cast<std::streamsize>(text.size()));
        tmp.flush();
        if (!tmp) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

ProfileSection* FindSection(ProfileFile& file, const char* name) {
    for (ProfileSection& section : file.sections)
        if (EqualsNoCase(section.name, name)) return &section;
    return nullptr;
}

const ProfileEntry* FindEntry(const ProfileSection& section, const char* key) {
    for (const ProfileEntry& entry : section.entries)
        if (EqualsNoCase(entry.key, key)) return &entry;
    return nullptr;
}

}  // namespace win32

// Parsed form of a private profile file, shared by the profile functions.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace win32 {

struct ProfileEntry {
    std::string key;
    std::string value;
};

struct ProfileSection {
    std::string name;
    std::vector<ProfileEntry> entries;
};

struct ProfileFile {
    std::vector<ProfileSection> sections;
};

// Reads and parses the file; nullopt when it cannot be opened.
std::optional<ProfileFile> LoadProfile(const char* path);
// Writes the file whole to a temporary file and renames it over the old one.
bool SaveProfile(const char* path, const ProfileFile& file);

bool EqualsNoCase(const std::string& a, const char* b);
// The first section of that name, as Windows finds it; later duplicates are
// listed by the section-name enumeration but never searched for keys.
ProfileSection* FindSection(ProfileFile& file, const char* name);
const ProfileEntry* FindEntry(const ProfileSection& section, const char* key);

}  // namespace win32

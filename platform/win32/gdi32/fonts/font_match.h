// Matching logical fonts to installed faces with fontconfig.
#pragma once

#include <string>
#include <vector>

#include "win32/gdi32/gdi_text.h"

// An installed face: a file and the index of the face inside it.
struct FaceMatch {
    std::string file;
    int index = 0;
    std::string family;                    // its first family name
    std::vector<std::string> familyNames;  // every name it answers to
    int weight = 400;                      // OpenType scale (400 regular, 700 bold)
    bool italic = false;
};

// What fontconfig is asked for a logical font.
struct FaceQuery {
    std::string family;    // after the table of Windows faces; "sans-serif" ...
    std::string language;  // "ja", "zh-cn" ... from the charset; may be empty
    int weight = 400;
    bool italic = false;
};

// The family fontconfig is asked for in place of a Windows face that is
// rarely installed elsewhere (SimSun, MS Mincho, Arial ...), or the face
// itself; a generic family for an empty face name, by pitch and family.
std::string QueryFamilyOf(const std::string& faceName, BYTE pitchAndFamily);
// The fontconfig language of a GDI charset; empty when it names none.
const char* LanguageOfCharset(BYTE charset);
// The face fontconfig picks; false when no font is installed at all.
bool MatchFace(const FaceQuery& query, FaceMatch* out);
// The best face that has the character, near to the query; false when no
// installed face has it.
bool MatchFaceWithCharacter(const FaceQuery& query, char32_t character, FaceMatch* out);
// True when the face answers to the name (ASCII case folded, as fontconfig
// compares family names).
bool FaceHasName(const FaceMatch& face, const std::string& name);

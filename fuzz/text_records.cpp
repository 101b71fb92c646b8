// Text records made of arbitrary bytes, played through the reference host's
// player into a driver: the font record's LOGFONTW (face, height, width,
// escapement, weight, charset ...) and the whole body of one EXTTEXTOUTW or
// EXTTEXTOUTA record (options, rectangles, counts and offsets of the string
// and the spacing values), under a text alignment, background mode and
// mapping mode from the input. No crash and no undefined behaviour in the
// reader, the text layout, the font cache or the driver.
//
// Input: 1 byte of choices, 92 bytes of LOGFONTW, then the record's body.
#include <cstring>
#include <string>
#include <vector>

#include "plot_through_driver.h"

namespace {

// Faces worth reaching often: stand-ins, installed faces, none at all.
const char16_t* const kFaces[] = {u"Arial", u"SimSun", u"MS Gothic", u"Liberation Serif", u""};

class Metafile {
public:
    Metafile() : m_words(27, 0) {
        m_words[0] = EMR_HEADER;
        m_words[1] = 108;
        m_words[6] = 0, m_words[7] = 0, m_words[8] = 10000, m_words[9] = 10000;  // rclFrame
        m_words[10] = ENHMETA_SIGNATURE;
        m_words[11] = 0x10000;
        m_words[14] = 4;                         // nHandles
        m_words[18] = 1000, m_words[19] = 1000;  // szlDevice
        m_words[20] = 100, m_words[21] = 100;    // szlMillimeters
    }
    void Record(DWORD type, const BYTE* body, size_t bytes) {
        const size_t words = (bytes + 3) / 4;
        m_words.push_back(type);
        m_words.push_back(static_cast<DWORD>(8 + words * 4));
        const size_t at = m_words.size();
        m_words.resize(at + words, 0);
        if (bytes) std::memcpy(&m_words[at], body, bytes);
        ++m_records;
    }
    void Record(DWORD type, std::initializer_list<DWORD> body) {
        const std::vector<DWORD> words(body);
        Record(type, reinterpret_cast<const BYTE*>(words.data()), words.size() * 4);
    }
    std::vector<BYTE> Bytes() {
        Record(EMR_EOF, {0, 16, 20});
        m_words[12] = static_cast<DWORD>(m_words.size() * 4);  // nBytes
        m_words[13] = m_records + 1;                           // nRecords
        std::vector<BYTE> bytes(m_words.size() * 4);
        std::memcpy(bytes.data(), m_words.data(), bytes.size());
        return bytes;
    }

private:
    std::vector<DWORD> m_words;
    DWORD m_records = 0;
};

}  // namespace

// fontconfig keeps what it read of its configuration for the life of the
// process, some of it where the leak checker cannot follow: text records
// reach it, and the leak is none of this code's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 + sizeof(LOGFONTW)) return 0;
    const BYTE choices = data[0];
    LOGFONTW font;
    std::memcpy(&font, data + 1, sizeof font);
    if (choices & 0x80) {
        const char16_t* face = kFaces[(choices >> 4) % 5];
        std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
        std::memcpy(font.lfFaceName, face, std::char_traits<char16_t>::length(face) * 2);
    }
    Metafile emf;
    std::vector<BYTE> fontRecord(4 + sizeof font);
    const DWORD index = 1;
    std::memcpy(fontRecord.data(), &index, 4);
    std::memcpy(fontRecord.data() + 4, &font, sizeof font);
    emf.Record(EMR_EXTCREATEFONTINDIRECTW, fontRecord.data(), fontRecord.size());
    emf.Record(EMR_SELECTOBJECT, {1});
    const DWORD aligns[] = {TA_BASELINE, TA_TOP, TA_BOTTOM | TA_RIGHT, TA_CENTER | TA_UPDATECP};
    emf.Record(EMR_SETTEXTALIGN, {aligns[choices & 3]});
    emf.Record(EMR_SETBKMODE, {(choices & 4) ? DWORD{OPAQUE} : DWORD{TRANSPARENT}});
    if (choices & 8) emf.Record(EMR_SETMAPMODE, {MM_LOMETRIC});
    const BYTE* body = data + 1 + sizeof font;
    const size_t bodySize = size - 1 - sizeof font;
    emf.Record((choices & 0x40) ? EMR_EXTTEXTOUTA : EMR_EXTTEXTOUTW, body, bodySize);
    std::vector<BYTE> bytes = emf.Bytes();

    PlotThroughDriver(bytes);
    return 0;
}

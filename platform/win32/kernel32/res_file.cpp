#include "win32/kernel32/res_file.h"

#include <cstring>

namespace win32 {
namespace {

// A reader that refuses to go past the end of its bytes.
class ResReader {
public:
    ResReader(const std::uint8_t* p, size_t n) : m_p(p), m_n(n) {}
    size_t Offset() const { return m_off; }
    size_t Left() const { return m_n - m_off; }
    bool U16(std::uint16_t* v) {
        if (Left() < 2) return false;
        *v = static_cast<std::uint16_t>(m_p[m_off] | (m_p[m_off + 1] << 8));
        m_off += 2;
        return true;
    }
    bool U32(std::uint32_t* v) {
        if (Left() < 4) return false;
        *v = static_cast<std::uint32_t>(m_p[m_off]) |
             (static_cast<std::uint32_t>(m_p[m_off + 1]) << 8) |
             (static_cast<std::uint32_t>(m_p[m_off + 2]) << 16) |
             (static_cast<std::uint32_t>(m_p[m_off + 3]) << 24);
        m_off += 4;
        return true;
    }
    // An ordinal (0xFFFF then the number) or a NUL-terminated UTF-16 name.
    bool NameOrOrdinal(int* ordinal, std::u16string* name) {
        std::uint16_t first;
        if (!U16(&first)) return false;
        if (first == 0xFFFF) {
            std::uint16_t value;
            if (!U16(&value)) return false;
            *ordinal = value;
            return true;
        }
        *ordinal = -1;
        for (std::uint16_t c = first; c != 0;) {
            name->push_back(static_cast<char16_t>(c));
            if (!U16(&c)) return false;
        }
        return true;
    }
    bool AlignTo4() {
        const size_t pad = (4 - (m_off & 3)) & 3;
        if (Left() < pad) return false;
        m_off += pad;
        return true;
    }
    bool Skip(size_t n) {
        if (Left() < n) return false;
        m_off += n;
        return true;
    }
    void SetOffset(size_t off) { m_off = off; }

private:
    const std::uint8_t* m_p;
    size_t m_n;
    size_t m_off = 0;
};

}  // namespace

std::optional<std::vector<ResourceEntry>> ParseResFile(const std::uint8_t* p, size_t n) {
    std::vector<ResourceEntry> entries;
    ResReader reader(p, n);
    while (reader.Left() > 0) {
        const size_t start = reader.Offset();
        std::uint32_t dataSize, headerSize;
        if (!reader.U32(&dataSize) || !reader.U32(&headerSize)) return std::nullopt;
        if (headerSize < 8 || headerSize > n - start) return std::nullopt;
        if (dataSize > n - start - headerSize) return std::nullopt;
        ResourceEntry entry;
        // The type, name and fixed fields must lie inside the declared header.
        ResReader header(p + start, headerSize);
        header.Skip(8);
        std::uint16_t memoryFlags, language;
        std::uint32_t dataVersion, version, characteristics;
        if (!header.NameOrOrdinal(&entry.nType, &entry.strType) ||
            !header.NameOrOrdinal(&entry.nName, &entry.strName) || !header.AlignTo4() ||
            !header.U32(&dataVersion) || !header.U16(&memoryFlags) || !header.U16(&language) ||
            !header.U32(&version) || !header.U32(&characteristics))
            return std::nullopt;
        entry.wLanguage = language;
        const std::uint8_t* data = p + start + headerSize;
        entry.data.assign(data, data + dataSize);
        // The empty record that opens every file (type 0, size 0) is no resource.
        if (!(entry.nType == 0 && dataSize == 0)) entries.push_back(std::move(entry));
        reader.SetOffset(start + headerSize);
        if (!reader.Skip(dataSize)) return std::nullopt;
        // Records start on 4-byte boundaries; the last one may end unpadded.
        if (reader.Left() > 0 && !reader.AlignTo4()) return std::nullopt;
    }
    return entries;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace win32

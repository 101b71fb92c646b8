// gdi-reference: renders an enhanced metafile through the system's own GDI
// (PlayEnhMetaFile's record player, into a 32-bit DIB section) and writes
// the picture as a PNG. Built for Windows with mingw-w64 and run under Wine
// by make_references.sh; its pictures are the references the raster GDI of
// the Win32 subset is held to.
//
//   gdi-reference DRAWING.emf PICTURE.png [--dpi N] [--system-ext-pens]
//
// The picture covers the metafile's frame (rclFrame) at N pixels per inch
// (300 unless given): width = round((right - left) * N / 2540), the same
// for the height, and the frame is played onto (0, 0, width, height) of a
// white section.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "png_file.h"

namespace {

constexpr int kDefaultDpi = 300;
// A picture larger than this is refused: the section is one block.
constexpr double kMostPixels = 400e6;

// EMR_EXTCREATEPEN as it is stored: the EXTLOGPEN32 at byte 28. The
// EMREXTCREATEPEN of the 64-bit headers holds an EXTLOGPEN, whose
// pointer-sized elpHatch moves the pen to byte 32, and 64-bit Wine reads the
// record through that layout: every extended pen it plays comes out invalid
// (the entry count is read from the first style entry, or from the next
// record). The pen is therefore made here from the stored layout.
constexpr size_t kPenIndexAt = 8;
constexpr size_t kBmiOffsetAt = 12, kBmiSizeAt = 16, kBitsOffsetAt = 20, kBitsSizeAt = 24;
constexpr size_t kLogPenAt = 28;  // elpPenStyle, elpWidth, elpBrushStyle, elpColor,
                                  // elpHatch, elpNumEntries, elpStyleEntry[]
constexpr size_t kLogPenFixed = 24;

DWORD Dword(const BYTE* record, size_t at) {
    DWORD v;
    std::memcpy(&v, record + at, sizeof v);
    return v;
}

struct PlayContext {
    bool systemExtPens = false;
    int pensMade = 0;
    int pensRefused = 0;
};

// The pen of an EMR_EXTCREATEPEN record, made with ExtCreatePen from the
// stored layout; null when the record is malformed or GDI refuses the pen.
HPEN PenFromRecord(const ENHMETARECORD* record) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(record);
    const DWORD size = record->nSize;
    if (size < kLogPenAt + kLogPenFixed) return nullptr;
    const DWORD style = Dword(bytes, kLogPenAt);
    const DWORD width = Dword(bytes, kLogPenAt + 4);
    LOGBRUSH brush{};
    brush.lbStyle = Dword(bytes, kLogPenAt + 8);
    brush.lbColor = Dword(bytes, kLogPenAt + 12);
    brush.lbHatch = Dword(bytes, kLogPenAt + 16);
    const DWORD entries = Dword(bytes, kLogPenAt + 20);
    if (entries > (size - kLogPenAt - kLogPenFixed) / 4) return nullptr;
    std::vector<DWORD> styleEntries(entries);
    if (entries) std::memcpy(styleEntries.data(), bytes + kLogPenAt + kLogPenFixed, entries * 4);
    // A pattern pen brings its packed DIB: header and colours, then the bits.
    std::vector<BYTE> packedDib;
    if (brush.lbStyle == BS_DIBPATTERN || brush.lbStyle == BS_DIBPATTERNPT) {
        const DWORD offBmi = Dword(bytes, kBmiOffsetAt), cbBmi = Dword(bytes, kBmiSizeAt);
        const DWORD offBits = Dword(bytes, kBitsOffsetAt), cbBits = Dword(bytes, kBitsSizeAt);
        if (offBmi > size || cbBmi > size - offBmi || offBits > size || cbBits > size - offBits)
            return nullptr;
        packedDib.assign(bytes + offBmi, bytes + offBmi + cbBmi);
        packedDib.insert(packedDib.end(), bytes + offBits, bytes + offBits + cbBits);
        brush.lbStyle = BS_DIBPATTERNPT;
        brush.lbHatch = reinterpret_cast<ULONG_PTR>(packedDib.data());
    }
    return ExtCreatePen(style, width, &brush, entries, entries ? styleEntries.data() : nullptr);
}

int CALLBACK PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int handles,
                        LPARAM data) {
    PlayContext& context = *reinterpret_cast<PlayContext*>(data);
    if (record->iType == EMR_EXTCREATEPEN && !context.systemExtPens) {
        if (record->nSize < kPenIndexAt + 4) return TRUE;
        const DWORD index = Dword(reinterpret_cast<const BYTE*>(record), kPenIndexAt);
        if (index == 0 || index >= static_cast<DWORD>(handles)) return TRUE;
        HPEN pen = PenFromRecord(record);
        if (pen) {
            if (table->objectHandle[index]) DeleteObject(table->objectHandle[index]);
            table->objectHandle[index] = pen;
            ++context.pensMade;
        } else {
            ++context.pensRefused;
        }
        return TRUE;
    }
    // As PlayEnhMetaFile does: a record that fails does not end the play.
    PlayEnhMetaFileRecord(dc, table, record, static_cast<UINT>(handles));
    return TRUE;
}

void Usage(std::FILE* to) {
    std::fputs(
        "usage: gdi-reference DRAWING.emf PICTURE.png [--dpi N] [--system-ext-pens]\n"
        "Renders the metafile's frame at N pixels per inch (300 unless given) through\n"
        "GDI's PlayEnhMetaFileRecord into a white 32-bit DIB section and writes it as PNG.\n"
        "Extended pens (EMR_EXTCREATEPEN) are made from the record's stored layout, since\n"
        "64-bit Wine reads that record at the wrong offset; --system-ext-pens plays them\n"
        "through GDI as they are.\n",
        to);
}

}  // namespace

int main(int argc, char** argv) {
    std::string input, output;
    int dpi = kDefaultDpi;
    PlayContext context;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else if (arg == "--dpi" && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > 4800) {
                std::fprintf(stderr, "gdi-reference: --dpi takes 1 to 4800, not %s\n", argv[i]);
                return 2;
            }
            dpi = static_cast<int>(value);
        } else if (arg == "--system-ext-pens") {
            context.systemExtPens = true;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "gdi-reference: unknown option %s\n", arg.c_str());
            Usage(stderr);
            return 2;
        } else if (input.empty()) {
            input = arg;
        } else if (output.empty()) {
            output = arg;
        } else {
            Usage(stderr);
            return 2;
        }
    }
    if (input.empty() || output.empty()) {
        Usage(stderr);
        return 2;
    }

    HENHMETAFILE metafile = GetEnhMetaFileA(input.c_str());
    if (!metafile) {
        std::fprintf(stderr, "gdi-reference: %s is not an enhanced metafile that GDI reads\n",
                     input.c_str());
        return 1;
    }
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile, sizeof header, &header);
    const double frameWidth = static_cast<double>(header.rclFrame.right) - header.rclFrame.left;
    const double frameHeight = static_cast<double>(header.rclFrame.bottom) - header.rclFrame.top;
    const int width = static_cast<int>(std::lround(frameWidth * dpi / 2540.0));
    const int height = static_cast<int>(std::lround(frameHeight * dpi / 2540.0));
    if (width < 1 || height < 1 || static_cast<double>(width) * height > kMostPixels) {
        std::fprintf(stderr, "gdi-reference: the frame of %s gives a picture of %d x %d pixels\n",
                     input.c_str(), width, height);
        DeleteEnhMetaFile(metafile);
        return 1;
    }

    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !section || !bits) {
        std::fprintf(stderr, "gdi-reference: no DIB section of %d x %d pixels\n", width, height);
        return 1;
    }
    HGDIOBJ old = SelectObject(dc, section);
    std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
    const RECT all{0, 0, width, height};
    const BOOL played = EnumEnhMetaFile(dc, metafile, PlayRecord, &context, &all);
    GdiFlush();

    std::string error;
    const bool written = WritePng(output, static_cast<const uint8_t*>(bits), width, height, &error);
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
    DeleteEnhMetaFile(metafile);
    if (!written) {
        std::fprintf(stderr, "gdi-reference: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d x %d pixels at %d dpi, %d extended pens made from their records%s\n",
                output.c_str(), width, height, dpi, context.pensMade,
                context.pensRefused ? " (some refused by ExtCreatePen)" : "");
    if (!played) std::fprintf(stderr, "gdi-reference: EnumEnhMetaFile reported a failure\n");
    return 0;
}

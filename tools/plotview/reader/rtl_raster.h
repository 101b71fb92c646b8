// The raster half of the plot reader: HP RTL configure-image-data, palette,
// compression methods and row transfers, decoded into a picture that the
// plot reader places on the page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plot {

// Decoded raster pixels, 0xAARRGGBB, not premultiplied; alpha 0 where the
// raster leaves the page as it was (skipped rows, transparent white).
struct RasterPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

class RtlRaster {
public:
    // Every operation returns an error text, empty on success; warnings are
    // appended to *pWarnings.
    explicit RtlRaster(std::vector<std::string>* pWarnings) : m_pWarnings(pWarnings) {
        ResetConfiguration();
    }

    // "\e*v#W" with its data. A device creates a new palette of the
    // configured size with its default colours; with keepPalette the colours
    // assigned so far survive (the renderer's lenient reading).
    std::string ConfigureImageData(std::string_view data, bool keepPalette);
    // "\e*v#A", "#B", "#C": the components of the next palette assignment.
    void SetComponent(int which, double value);
    // "\e*v#I". An index beyond the palette is ignored by a device (warning);
    // with growPalette the palette grows to take it.
    std::string AssignIndex(double index, bool growPalette);
    void PushPalette();
    std::string PopPalette();
    std::string SetCompression(double method);
    // Printer reset: the raster configuration of power-on.
    void ResetConfiguration();

    // Raster graphics proper: Start, rows, Finish.
    std::string Start();
    bool Active() const { return m_active; }
    std::string TransferRow(std::string_view data);
    std::string SkipRows(double rows);  // "\e*b#Y"
    // Ends the raster; white pixels become transparent when asked.
    RasterPicture Finish(bool whiteTransparent);

    int RowBytes() const;
    int BitsPerPixel() const;

    // Announcements that the reader uses for placement.
    int sourceWidth = 0;           // "\e*r#S"; 0 when not given
    int sourceHeight = 0;          // "\e*r#T"; 0 when not given
    int resolution = 0;            // "\e*t#R"; 0 when not given
    double destinationWidth = 0;   // "\e*t#H", decipoints
    double destinationHeight = 0;  // "\e*t#V", decipoints

    // One raster is decoded whole, at four bytes a pixel and the rows
    // besides: at most A1 at 600 dpi (1.9e8 pixels), and no more rows than
    // A0 at 2400 dpi has.
    static constexpr double kMaxRasterPixels = 2e8;
    static constexpr double kMaxRasterRows = 1 << 18;

private:
    std::string RoomForRows(double rows) const;
    struct Row {
        std::vector<uint8_t> bytes;
        bool skipped = false;
    };
    uint32_t PixelColour(const std::vector<uint8_t>& row, int x, bool* pUnassigned) const;
    void Warn(const std::string& text) { m_pWarnings->push_back(text); }

    std::vector<std::string>* m_pWarnings;
    int m_encoding = 0;  // 0 indexed by plane, 1 indexed by pixel, 3 direct by pixel
    int m_bitsPerIndex = 1;
    int m_bitsPerPrimary[3] = {8, 8, 8};
    std::vector<uint32_t> m_palette;
    std::vector<bool> m_assigned;
    std::vector<std::vector<uint32_t>> m_paletteStack;
    std::vector<std::vector<bool>> m_assignedStack;
    double m_components[3] = {0, 0, 0};
    bool m_warnedBeyondPalette = false;
    int m_method = 0;
    bool m_active = false;
    std::vector<uint8_t> m_seed;
    std::vector<Row> m_rows;
};

// The palette a device creates for a configuration: white and black for one
// bit per index; black, red, green, yellow, blue, magenta, cyan, white,
// repeated, for more.
std::vector<uint32_t> DefaultPalette(int bitsPerIndex);

}  // namespace plot

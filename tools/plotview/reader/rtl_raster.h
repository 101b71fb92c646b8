// The raster half of the plot reader: HP RTL configure-image-data, palette,
// compression methods and row transfers, decoded into slices of rows that
// the plot reader places on the page as they come.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reader/raster_slice.h"

namespace plot {

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

    // Raster graphics proper: Start, rows, End. A slice holds sliceRows
    // rows (0: as many as kSliceBytes hold). With holdRows every transfer
    // is kept, as sent (so no more than the plot file holds), until End: the
    // placement needs the raster's height.
    std::string Start(int sliceRows, bool holdRows);
    bool Active() const { return m_active; }
    std::string TransferRow(std::string_view data);
    // "\e*b#Y". The slice in progress must have been placed.
    std::string SkipRows(double rows);
    // Rows so far, skipped ones included; after End, the raster's height.
    int64_t Rows() const { return m_ended ? m_height : m_rowCount; }
    // Ends raster graphics and returns the raster's height. The rows not yet
    // placed follow as slices: the last one, or the held transfers, decoded
    // again one by one with ReplayHeld.
    int64_t End();
    // The slice to place next: a full one, or with `any` one that holds any
    // row; none while rows are held.
    const RasterSlice* DueSlice(bool any) const;
    void SlicePlaced();
    // After End: decodes the next held transfer or vertical move; false when
    // none is left.
    bool ReplayHeld();
    // Forgets the raster in progress or ended.
    void Discard();

    int RowBytes() const;
    int BitsPerPixel() const;

    // Announcements that the reader uses for placement.
    int sourceWidth = 0;           // "\e*r#S"; 0 when not given
    int sourceHeight = 0;          // "\e*r#T"; 0 when not given
    int resolution = 0;            // "\e*t#R"; 0 when not given
    double destinationWidth = 0;   // "\e*t#H", decipoints
    double destinationHeight = 0;  // "\e*t#V", decipoints

    // Decoded rows a slice holds at most (a single row may be larger).
    static constexpr size_t kSliceBytes = size_t{16} << 20;
    // Rows of one raster: beyond any paper, but small enough that a file
    // cannot run the row arithmetic out of range.
    static constexpr int64_t kMaxRasterRows = 1000000000;

private:
    // One transfer or vertical move kept while rows are held.
    struct HeldStep {
        int method = 0;
        size_t offset = 0;  // of its data in m_heldData
        size_t length = 0;
        int64_t skipped = 0;  // rows moved down; 0 for a transfer
    };
    std::string RoomForRows(double rows) const;
    // Decodes a transfer into pRow, which holds the seed row for method 3.
    std::string DecodeRow(std::string_view data, int method, uint8_t* pRow) const;
    // Decodes a transfer into the slice.
    std::string Transfer(std::string_view data, int method);
    void Skip(int64_t rows);
    const uint8_t* Seed() const;
    void NoteUnassigned(const uint8_t* row);
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

    // The raster in progress: its colours are the palette's at Start.
    bool m_active = false;
    bool m_ended = false;
    RasterPixelFormat m_format;
    std::vector<bool> m_assignedAtStart;
    bool m_seekUnassigned = false;  // some entry unassigned and none used yet
    bool m_usesUnassigned = false;
    int m_sliceRows = 1;
    RasterSlice m_slice;
    std::vector<uint8_t> m_seed;  // the row before the slice's first
    int64_t m_rowCount = 0;
    int64_t m_height = 0;
    bool m_holding = false;
    std::string m_heldData;
    std::vector<HeldStep> m_held;
    size_t m_replayAt = 0;
};

// The palette a device creates for a configuration: white and black for one
// bit per index; black, red, green, yellow, blue, magenta, cyan, white,
// repeated, for more.
std::vector<uint32_t> DefaultPalette(int bitsPerIndex);

}  // namespace plot

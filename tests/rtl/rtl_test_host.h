// A host context for raster writer tests: default driver settings, a job
// whose output is a RecordingChannel, and a device-capability callback that
// answers the page width (index 8) and height (index 10) set here.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "driver/hpgl2_driver.h"
#include "job/job_context.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/host_context.h"
#include "pxrdriver/rip.h"
#include "support/recording_channel.h"

#define ESC "\x1b"

class RtlTestHost {
public:
    explicit RtlTestHost(int nPageWidth = 10, int nPageHeight = 20)
        : driver(nullptr, "/nonexistent/hpgl2.ini", "X") {
        host.pDriver = &driver;
        job.m_pOutput = &channel;
        host.pJob = &job;
        callbacks.GetDeviceCaps = &DeviceCaps;
        host.pCallbacks = &callbacks;
        host.nDeviceWidthPx = nPageWidth;
        host.nDeviceHeightPx = nPageHeight;
    }
    RtlTestHost(const RtlTestHost&) = delete;
    RtlTestHost& operator=(const RtlTestHost&) = delete;

    HostContext* Host() { return &host; }

    HPGL2Driver driver;
    RecordingChannel channel;
    JobContext job;
    DriverCallbacks callbacks{};
    HostContext host{};

private:
    static int DeviceCaps(HostContext* pHost, int nIndex) {
        if (nIndex == 8) return pHost->nDeviceWidthPx;
        if (nIndex == 10) return pHost->nDeviceHeightPx;
        return 0;
    }
};

// Pixels of a band, stored as the raster image processor stores them.
struct TestBand {
    std::vector<uint8_t> bytes;
    RipBandBits bits{};

    // 4-byte pixels 0x00RRGGBB (or any 32-bit value), row after row.
    static TestBand From32(const std::vector<uint32_t>& pixels, int nStride, int nRows) {
        TestBand band;
        band.bytes.resize(pixels.size() * 4);
        for (size_t i = 0; i < pixels.size(); ++i) {
            for (int k = 0; k < 4; ++k) band.bytes[i * 4 + k] = uint8_t(pixels[i] >> (8 * k));
        }
        band.bits = RipBandBits{nStride, nRows, 4, band.bytes.data()};
        return band;
    }
    // Raw bytes with any pixel size.
    static TestBand FromBytes(std::vector<uint8_t> bytes, int nStride, int nRows,
                              int nBytesPerPixel) {
        TestBand band;
        band.bytes = std::move(bytes);
        band.bits = RipBandBits{nStride, nRows, nBytesPerPixel, band.bytes.data()};
        return band;
    }
};

inline std::string Bytes(std::initializer_list<int> values) {
    std::string text;
    for (int v : values) text.push_back(static_cast<char>(v));
    return text;
}

// The chunks from index first on, to compare a tail of the writes.
inline std::vector<std::string> ChunksFrom(const RecordingChannel& channel, size_t first) {
    if (first >= channel.chunks.size()) return {};
    return std::vector<std::string>(channel.chunks.begin() + static_cast<std::ptrdiff_t>(first),
                                    channel.chunks.end());
}

// A drawing context whose driver table only logs: every host call the
// player makes becomes one line of text, such as
//   "OnPolyline 3: 0,0 10,0 10,10"
// so that tests assert on what a metafile plays into, record by record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "playback/emf_player.h"
#include "pxrdriver/driver_callbacks.h"
#include "support/emf_builder.h"

class RecordingHost {
public:
    // A printable area of width x height pixels at dpi.
    explicit RecordingHost(int width = 1000, int height = 1000, int dpi = 254);
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    HostContext* Context() { return &m_host; }
    // A driver without the metafile region entry (offset 160).
    void WithoutMetafileRegions() { m_table.RenderMetafileRegion = nullptr; }

    // The log lines that start with prefix, in order.
    std::vector<std::string> Lines(std::string_view prefix) const;
    // The log lines of drawing (polylines, polygons, paths), in order.
    std::vector<std::string> Drawing() const;

    std::vector<std::string> log;
    int width;
    int height;
    int dpi;

private:
    DriverCallbacks m_table{};
    HostContext m_host{};
};

struct PlayRun {
    bool ok = false;
    std::string error;
    RunSummary summary;
};

// Parses the metafile, places it as plothost does by default and plays it
// into the host, bounded by the drawing's frame as plothost plots it when
// framed. A metafile the reader refuses gives ok false and its error.
PlayRun PlayInto(RecordingHost& host, const std::vector<BYTE>& metafile, bool framed = false);

using Lines = std::vector<std::string>;

// The whole log, and the drawing lines, of the metafile played into a
// default host; a metafile that does not play fails the test.
Lines LogOf(const EmfBuilder& emf);
Lines DrawingOf(const EmfBuilder& emf);

// The points of a drawing line such as "OnPolyline 3: 0,0 10,0 10,10".
std::vector<POINT> PointsOf(const std::string& line);

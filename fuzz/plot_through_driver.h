// Plays a metafile as `plothost plot` does: placed on the printable area of
// a driver whose software clipping is on, through the player and the
// reference host's plot device, into a channel that drops the bytes.
#pragma once

#include <string>
#include <vector>

#include "driver/hpgl2_driver.h"
#include "playback/emf_player.h"
#include "playback/page_placement.h"
#include "support/null_channel.h"

inline void PlotThroughDriver(std::vector<BYTE>& bytes) {
    EmfDocument doc;
    std::string error;
    if (!ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) return;
    ReferenceDevice device;
    if (!ReadReferenceDevice(doc.header, &device, &error)) return;

    static HPGL2Driver* driver = [] {
        auto* d = new HPGL2Driver(nullptr, "/nonexistent/hpgl2.ini", "P");
        d->m_devmode.nClipMode = 7;  // exercise the software clipping too
        return d;
    }();
    HostContext host{};
    host.pDriver = driver;
    if (!driver->Attach(&host)) return;
    const DriverCallbacks* t = host.pCallbacks;
    const PrintableArea area{t->GetDeviceCaps(&host, HORZRES), t->GetDeviceCaps(&host, VERTRES),
                             300.0};
    Placement placement;
    NullChannel channel;
    DOCINFOA info{sizeof info, "fuzz", "fuzz.plt", nullptr, 0};
    if (PlaceDrawing(doc.header, device, area, ScaleChoice::Auto, 1.0, &placement, &error) &&
        t->StartDocument(&host, &info, &channel)) {
        t->OnSetClipRegion(&host, nullptr);
        PlayOptions play;
        play.device = device;
        play.placement = placement.toDevice;
        play.dpi = area.dpi;
        RunSummary summary;
        PlayMetafile(doc, &host, play, &summary, &error);
        t->EndDocument(&host);
    }
    driver->Detach(&host);
}

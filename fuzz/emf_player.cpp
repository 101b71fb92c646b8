// Arbitrary metafiles played through the metafile player and the reference
// host's plot device into a driver, as `plothost plot` does: whatever the
// records hold (object indexes, transforms, curves, clip regions), no crash
// and no undefined behaviour in the player, the region algebra or the
// driver.
#include <cstring>
#include <string>
#include <vector>

#include "driver/hpgl2_driver.h"
#include "playback/emf_player.h"
#include "playback/page_placement.h"
#include "support/null_channel.h"

// fontconfig keeps what it read of its configuration for the life of the
// process, some of it where the leak checker cannot follow: text records
// reach it, and the leak is none of this code's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader wants the records on a 4-byte boundary: a heap copy is.
    std::vector<BYTE> bytes(data, data + size);
    EmfDocument doc;
    std::string error;
    if (!ParseEnhMetaFile(bytes.data(), bytes.size(), &doc, &error)) return 0;
    ReferenceDevice device;
    if (!ReadReferenceDevice(doc.header, &device, &error)) return 0;

    static HPGL2Driver* driver = [] {
        auto* d = new HPGL2Driver(nullptr, "/nonexistent/hpgl2.ini", "P");
        d->m_devmode.nClipMode = 7;  // exercise the software clipping too
        return d;
    }();
    HostContext host{};
    host.pDriver = driver;
    if (!driver->Attach(&host)) return 0;
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
    return 0;
}

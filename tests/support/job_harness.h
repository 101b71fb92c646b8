// A driver attached to a drawing context with a recording channel: what a
// host has while it plots, for tests of the drawing callbacks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "driver/hpgl2_driver.h"
#include "job/job_context.h"
#include "support/recording_channel.h"
#include "support/scratch_config.h"

class JobHarness {
public:
    // iniSection is the text of section [P] of hpgl2.ini.
    explicit JobHarness(const std::string& iniSection = "");
    ~JobHarness();

    // Starts a document on the host's port; returns the StartDocument result.
    int Start(const char* output = "job.plt", const char* docName = "drawing");
    void End();
    // The chunks written since the last call, and forgets them.
    std::vector<std::string> Take();
    std::string TakeBytes();

    DriverCallbacks& Table() { return *host.pCallbacks; }
    JobContext& Job() { return *JobOf(&host); }

    ScratchConfig config;
    std::unique_ptr<HPGL2Driver> driver;
    HostContext host{};
    RecordingChannel channel;
};

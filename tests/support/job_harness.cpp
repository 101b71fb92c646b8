#include "support/job_harness.h"

JobHarness::JobHarness(const std::string& iniSection) {
    config.UseBundledPapers();
    config.Write("hpgl2.ini", "[P]\nPaperFile=paper.ini\n" + iniSection);
    driver = std::make_unique<HPGL2Driver>(nullptr, config.Ini().c_str(), "P");
    host.pDriver = driver.get();
    host.pszPortName = "LPT1:";
    driver->Attach(&host);
}

JobHarness::~JobHarness() {
    driver->Detach(&host);
}

int JobHarness::Start(const char* output, const char* docName) {
    DOCINFOA info{sizeof(DOCINFOA), docName, output, nullptr, 0};
    return host.pCallbacks->StartDocument(&host, &info, &channel);
}

void JobHarness::End() {
    host.pCallbacks->EndDocument(&host);
}

std::vector<std::string> JobHarness::Take() {
    std::vector<std::string> chunks;
    chunks.swap(channel.chunks);
    return chunks;
}

std::string JobHarness::TakeBytes() {
    std::string bytes = channel.Bytes();
    channel.chunks.clear();
    return bytes;
}

// A band's rows coded ahead of their turn: the writes are kept, each as it
// was made, and written to the job's channel when the band is handed over,
// so that the plot is written write by write as if coded there.
#pragma once

#include "pxrdriver/output_channel.h"
#include "pxrdriver/rip.h"

// Keeps what is written to it in a RipBandWrites.
class BandWritesChannel : public OutputChannel {
public:
    explicit BandWritesChannel(RipBandWrites& writes) : m_writes(writes) {}
    int Open(const char*) override { return 1; }
    void Abort() override {}
    void Write(const void* pBuffer, int nLength) override;
    void Close() override {}

private:
    RipBandWrites& m_writes;
};

// Writes the kept writes to the channel, one Write for each.
void WriteBandWrites(OutputChannel* pOutput, const RipBandWrites& writes);

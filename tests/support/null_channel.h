// An output channel that drops what it is given and counts the bytes: for
// fuzzing and benchmarks, where only what the writer does matters. A
// negative length is a writer's fault and stops the program.
#pragma once

#include <cstdlib>

#include "pxrdriver/output_channel.h"

class NullChannel : public OutputChannel {
public:
    int Open(const char*) override { return 1; }
    void Abort() override {}
    void Write(const void*, int nLength) override {
        if (nLength < 0) std::abort();
        written += nLength;
    }
    void Close() override {}

    long long written = 0;
};

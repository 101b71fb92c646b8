// An output channel that keeps every Write as its own chunk, so that tests
// see both the bytes and where the writes fall.
#pragma once

#include <string>
#include <vector>

#include "pxrdriver/output_channel.h"

class RecordingChannel : public OutputChannel {
public:
    int Open(const char* pszTarget) override {
        opened.push_back(pszTarget ? pszTarget : "");
        return openResult;
    }
    void Abort() override { ++aborts; }
    void Write(const void* pBuffer, int nLength) override {
        chunks.emplace_back(static_cast<const char*>(pBuffer), static_cast<size_t>(nLength));
    }
    void Close() override { ++closes; }

    // All bytes written, in order.
    std::string Bytes() const {
        std::string all;
        for (const auto& c : chunks) all += c;
        return all;
    }
    void Reset() { chunks.clear(); }

    std::vector<std::string> chunks;
    std::vector<std::string> opened;
    int openResult = 1;
    int closes = 0;
    int aborts = 0;
};

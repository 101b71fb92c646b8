#include "rtl/band_writes.h"

void BandWritesChannel::Write(const void* pBuffer, int nLength) {
    if (nLength > 0) {
        const BYTE* pBytes = static_cast<const BYTE*>(pBuffer);
        m_writes.bytes.insert(m_writes.bytes.end(), pBytes, pBytes + nLength);
    }
    m_writes.ends.push_back(m_writes.bytes.size());
}

void WriteBandWrites(OutputChannel* pOutput, const RipBandWrites& writes) {
    size_t nStart = 0;
    for (const size_t nEnd : writes.ends) {
        pOutput->Write(writes.bytes.data() + nStart, static_cast<int>(nEnd - nStart));
        nStart = nEnd;
    }
}

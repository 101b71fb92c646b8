#include "reader/pcl_rows.h"

namespace pcl {

bool DecodeRunLengthRow(const uint8_t* pData, size_t nLength, Bytes* pRow) {
    pRow->clear();
    if (nLength % 2 != 0) {
        return false;
    }
    for (size_t i = 0; i < nLength; i += 2) {
        pRow->insert(pRow->end(), size_t{pData[i]} + 1, pData[i + 1]);
    }
    return true;
}

bool ApplyDeltaRow(const uint8_t* pData, size_t nLength, Bytes* pRow) {
    return ApplyDeltaRow(pData, nLength, pRow->data(), pRow->size());
}

bool ApplyDeltaRow(const uint8_t* pData, size_t nLength, uint8_t* pRow, size_t nRowBytes) {
    size_t nPosition = 0;
    size_t i = 0;
    while (i < nLength) {
        const uint8_t command = pData[i++];
        const size_t nCount = size_t{static_cast<uint8_t>(command >> 5)} + 1;
        size_t nOffset = command & 31u;
        if (nOffset == 31) {
            // Extension bytes: 255 means another one follows.
            uint8_t extension;
            do {
                if (i >= nLength) {
                    return false;
                }
                extension = pData[i++];
                nOffset += extension;
            } while (extension == 255);
        }
        nPosition += nOffset;
        if (nLength - i < nCount || nPosition > nRowBytes || nRowBytes - nPosition < nCount) {
            return false;
        }
        for (size_t k = 0; k < nCount; ++k) {
            pRow[nPosition++] = pData[i++];
        }
    }
    return true;
}

}  // namespace pcl

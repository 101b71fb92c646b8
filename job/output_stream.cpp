#include "job/output_stream.h"

#include "job/job_context.h"
#include "pxrdriver/output_channel.h"

void WriteBytes(JobContext* pJob, const void* pBytes, int nLength) {
    if (!pJob || !pJob->m_pOutput || nLength <= 0) return;
    pJob->m_pOutput->Write(pBytes, nLength);
}

void WriteText(JobContext* pJob, std::string_view text) {
    WriteBytes(pJob, text.data(), static_cast<int>(text.size()));
}

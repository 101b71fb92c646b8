// Writing to the job's output channel: every command in one Write with its
// exact length, no terminating NUL. Without a channel nothing is written.
#pragma once

#include <string_view>

#include "job/command_text.h"

struct JobContext;

void WriteBytes(JobContext* pJob, const void* pBytes, int nLength);
void WriteText(JobContext* pJob, std::string_view text);
inline void WriteCommand(JobContext* pJob, const CommandText& command) {
    WriteBytes(pJob, command.data(), command.size());
}

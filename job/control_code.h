// The user's control code, sent at the start of a job when the settings ask
// for it. It may name a file to send instead ("USEFILE=path"), carry ESC as
// the four characters "\033", and set the PJL header mask for the job with a
// "$HEADMASK=number$" token, which is not sent.
#pragma once

#include <string>

struct JobContext;

// The text to send and the header mask in force after the token, for a
// control code that does not name a file.
std::string ExpandControlCode(const std::string& code, int* pHeadMask);

// Sends the control code; returns the header mask for the PJL lines.
int SendControlCode(JobContext* pJob, const char* pszCode, int nHeadMask);

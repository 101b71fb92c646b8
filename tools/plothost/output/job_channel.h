// The output channels of the host: what the plot command needs of one
// besides the driver's four slots. plothost's file and socket channels stop
// taking a job once Ctrl-C or SIGTERM has been noted
// (win32/kernel32/interrupt_requests.h): they refuse to open, drop the job at
// the next write and do not complete it on Close, so that a job is either
// complete or leaves nothing behind.
#pragma once

#include <string>

#include "pxrdriver/output_channel.h"

class JobChannel : public OutputChannel {
public:
    // Where the job went, as the summary names it.
    virtual std::string Target() const = 0;
    // True once Close has delivered the whole job.
    virtual bool Completed() const = 0;
    // Why the job could not be delivered ("" when nothing went wrong).
    virtual const std::string& Error() const = 0;
    virtual unsigned long long BytesWritten() const = 0;
    // What became of a job that was not completed, for the user: "no plot
    // file was written", "the connection to the plotter was reset".
    virtual std::string DroppedNote() const { return "the job was dropped"; }
};

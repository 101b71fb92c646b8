// The output channels of the host: what the plot command needs of one
// besides the driver's four slots.
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
};

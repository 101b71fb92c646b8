// What every filter run does before it plots, as plothost does at its
// start: the application folder found from where the filter is installed,
// a data folder of its own for the job (the paper lists as shipped; no
// user's settings file is read or written), the module loaded, the queue's
// plotter found, and the job's settings handed to its driver.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "filter/job_request.h"
#include "filter/ppd_file.h"
#include "host/loaded_module.h"
#include "pxrdriver/paper.h"

class FilterSession {
public:
    FilterSession() = default;
    ~FilterSession();
    FilterSession(const FilterSession&) = delete;
    FilterSession& operator=(const FilterSession&) = delete;

    // Reads the PPD (the PPD environment variable CUPS sets) and the job's
    // options into Request(), loads the module and finds the plotter;
    // false with a message.
    bool Open(const std::string& ppdPath, const std::string& options, std::string* error);

    const PpdFile& Ppd() const { return m_ppd; }
    JobRequest& Request() { return m_request; }
    HT_Driver* Driver() const { return m_driver; }
    // The job's own folder, removed with everything in it at the end.
    const std::string& DataFolder() const { return m_data; }

    // The request's fields through the driver's dialogs, then its paper,
    // orientation and resolution through the public settings, as a host's
    // page set-up does; false with a message.
    bool ApplyRequest(std::string* error);

private:
    PpdFile m_ppd;
    JobRequest m_request;
    std::string m_data;
    std::unique_ptr<LoadedModule> m_module = std::make_unique<LoadedModule>();
    HT_Driver* m_driver = nullptr;
    std::vector<PaperSize> m_papers;
};

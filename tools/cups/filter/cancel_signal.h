// CUPS cancels a job by sending its filters SIGTERM. The filters stop at
// the next band or block and send nothing more, so the plotter never gets
// the end of a job that was not whole.
#pragma once

// Installs the SIGTERM handler (writes interrupted by it are restarted).
void CatchCancel();
bool Cancelled();

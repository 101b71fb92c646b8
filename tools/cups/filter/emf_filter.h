// emftohpgl2: an enhanced metafile job plotted as plothost plots it, in the
// queue's transaction mode, one page per metafile. The job is made whole
// into the job's folder first and handed on only when it is complete, so a
// damaged metafile or a cancelled job sends nothing at all.
#pragma once

// main() of the filter: 0 when the job was handed on, 1 with an "ERROR:"
// line when not.
int RunEmfFilter(int argc, const char* const* argv);

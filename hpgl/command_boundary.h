// Command boundaries of the stream. Every emitter calls these first, so that
// consecutive polylines share one "PE" and consecutive images one RTL entry.
#pragma once

#include <cstdint>

struct JobContext;

// Writes ";" when a "PE" command is open.
void ClosePE(JobContext* pJob);
// Writes "\e%1A" (enter HP RTL at the pen position) unless already in RTL.
void EnterRaster(JobContext* pJob);
// Writes "\e%1B" (back to HP-GL/2 at the pen position) when in RTL.
void LeaveRaster(JobContext* pJob);
// Writes "PUPA x,y" (no terminator) with the device point moved by the
// plot's origin: the corner where an embedded raster starts. Worked out in
// 64 bits: a corner at the end of 32 bits plus the origin passes it.
void MovePenToRasterCorner(JobContext* pJob, int64_t x, int64_t y);

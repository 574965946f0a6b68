#pragma once
// Start-up figures for measuring the program: with the environment variable
// OV_START_TIMES naming a file, the program notes when each step of its start ended,
// counted from the creation of its process, and writes the figures there when the start
// is done. Without it, nothing is noted.

namespace ov {

void MarkStartStep(const char* step);
// Writes the figures once; later calls do nothing.
void WriteStartTimes();

}  // namespace ov

// Resident memory of this process (Linux /proc), to tell how much a searcher
// keeps in memory while it searches.
#pragma once

#include <cstdint>

namespace bench {

// Gives freed heap back to the system, so that the resident set counts what
// is in use, and restarts the peak from the present resident set.
void StartResidentPeak();
// Resident set now, and its peak since StartResidentPeak (bytes).
std::uint64_t ResidentBytes();
std::uint64_t PeakResidentBytes();

}  // namespace bench

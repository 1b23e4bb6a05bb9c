#include "resident_memory.h"

#include <malloc.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

// A "Vm...:  1234 kB" line of /proc/self/status.
std::uint64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, field.size() + 1, field + ":") == 0) return std::stoull(line.substr(field.size() + 1)) * 1024;
  throw std::runtime_error("no " + field + " in /proc/self/status");
}

}  // namespace

void StartResidentPeak() {
  malloc_trim(0);
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";  // the peak restarts from the present resident set
  if (!clear.flush()) throw std::runtime_error("cannot reset the resident peak (/proc/self/clear_refs)");
}

std::uint64_t ResidentBytes() { return StatusBytes("VmRSS"); }

std::uint64_t PeakResidentBytes() { return StatusBytes("VmHWM"); }

}  // namespace bench

#include "engine/ProcessMemory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace orvela {

namespace {

/// The value in KiB of the line "<field>: N kB" of /proc/self/status, or -1.
long statusKiB(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status)
    return -1;
  const std::size_t length = std::strlen(field);
  char line[256];
  long value = -1;
  while (std::fgets(line, sizeof line, status))
    if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
      value = std::strtol(line + length + 1, nullptr, 10);
      break;
    }
  std::fclose(status);
  return value;
}

} // namespace

double residentMiB() {
  // The second field of statm is the resident page count: one short read,
  // cheap enough to be taken several times a second during a search.
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm)
    return 0;
  long size = 0, resident = 0;
  const int fields = std::fscanf(statm, "%ld %ld", &size, &resident);
  std::fclose(statm);
  if (fields != 2)
    return 0;
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double peakResidentMiB() {
  const long peak = statusKiB("VmHWM");
  if (peak >= 0)
    return double(peak) / 1024.0;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

} // namespace orvela

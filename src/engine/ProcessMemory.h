#pragma once
// The memory of this process as the operating system counts it: what is
// resident now and the most that was resident, in MiB.

namespace orvela {

/// Resident memory now; 0 when the system does not tell.
double residentMiB();
/// The most resident memory since the process started or since the last
/// `resetPeakResident`; 0 when the system does not tell.
double peakResidentMiB();
/// Starts a new peak from the memory resident now, so that the next
/// `peakResidentMiB` measures one piece of work. Answers false when the
/// system cannot restart it (the peak then stays that of the whole process).
bool resetPeakResident();

} // namespace orvela

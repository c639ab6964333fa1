#pragma once
// The memory of this process as the operating system counts it: what is
// resident now and the most that was resident, in MiB.

namespace orvela {

/// Resident memory now; 0 when the system does not tell.
double residentMiB();
/// The most resident memory since the process started; 0 when the system
/// does not tell.
double peakResidentMiB();

} // namespace orvela

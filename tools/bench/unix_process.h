// The Linux process Wine runs a Windows process in, read through Wine's view of the Linux
// file system (drive Z:). GetProcessTimes under Wine counts in scheduler ticks of 10 ms,
// as coarse as the idle goal itself; the kernel's per-thread run times are nanoseconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bench {

// The one live Linux process named after `exe` (its file name, as Wine names its
// processes) that shares this process's display, i.e. belongs to this Wine session. None
// when there is no such process or more than one.
std::optional<int> find_unix_process(const std::wstring& exe);

// Time the Linux process's live threads have spent on a CPU, in nanoseconds.
std::optional<std::uint64_t> unix_cpu_ns(int pid);

}  // namespace bench

#pragma once

namespace tavik::bench {

// CPU time used by this process so far (user and system), in seconds.
double ProcessCpuSeconds();

}  // namespace tavik::bench

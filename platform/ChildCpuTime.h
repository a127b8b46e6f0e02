#pragma once

// Processor time the children of this process have used: user and system time of every child
// that ended and was waited for (their own waited children included). For benches that compare
// how well a conversion fills the processors. Any thread.
namespace ChildCpuTime {

// Milliseconds so far; negative where the system does not say.
double milliseconds();

} // namespace ChildCpuTime

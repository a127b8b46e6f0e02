#pragma once

class QProcess;

namespace ChildPriority {

// Makes `process` start its program with the scheduling class and nice value of the program's
// main thread (the user's session), even when the calling thread runs lowered, as a newly
// created process does on Windows, and with the termination request (SIGTERM) unblocked. Call
// before start(); a failure leaves the child as it was.
void startAtNormalPriority(QProcess& process);

} // namespace ChildPriority

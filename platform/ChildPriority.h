#pragma once

class QProcess;

namespace ChildPriority {

// Makes `process` start its program at normal priority even when the calling thread runs
// idle, as a newly created process does on Windows. Call before start().
void startAtNormalPriority(QProcess& process);

} // namespace ChildPriority

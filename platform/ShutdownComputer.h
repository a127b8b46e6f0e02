#pragma once

// Asks the system for an ordinary power-off: never forced, so running programs may still
// object. Returns at once; a refusal (missing permission) leaves the computer running and is
// not reported.
void ShutdownComputer();

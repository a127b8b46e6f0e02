#include "Preferences.h"

std::atomic<int> g_bOverwrite{0};
std::atomic<int> g_bShutdown{0};

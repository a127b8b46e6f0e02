#pragma once

// Starts the separate codec-download program, detached: from the application folder first,
// then the search path. True when it started; a missing program is silent (false).
bool StartCodecDownload();

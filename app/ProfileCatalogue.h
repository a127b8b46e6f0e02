#pragma once

#include <QString>

class CProfileManager;

// The start-up scan both programs make: shipped profiles, then the user's own, each checked
// against the installed FFmpeg through the encoder tool.
namespace ProfileCatalogue {

// Scans into `profiles` (selecting "CProID" of `configFile`) and notes every profile the
// installed FFmpeg cannot make. Asks the tool once; when it cannot answer, nothing is noted.
void Scan(CProfileManager& profiles, const QString& configFile);

} // namespace ProfileCatalogue

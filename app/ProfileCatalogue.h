#pragma once

#include <QString>

class CProfileManager;
class WriteLocations;

// The start-up scan both programs make: shipped profiles, then the user's own, each checked
// against the installed FFmpeg through the encoder tool.
namespace ProfileCatalogue {

// Scans into `profiles` the shipped and the user's profiles of `where` (selecting "CProID" of
// the settings read at start-up) and notes every profile the installed FFmpeg cannot make.
// Asks the tool once; when it cannot answer, nothing is noted.
void Scan(CProfileManager& profiles, const WriteLocations& where);

} // namespace ProfileCatalogue

#pragma once

#include <QString>

class CProfileManager;
class Settings;
class WriteLocations;

// The start-up scan both programs make: shipped profiles, then the user's own, each checked
// against the installed FFmpeg through the encoder tool.
namespace ProfileCatalogue {

// Scans into `profiles` the shipped and the user's profiles of `where` (selecting the profile
// `settings` name) and notes every profile the installed FFmpeg cannot make. Asks the tool
// once; when it cannot answer, nothing is noted.
void Scan(CProfileManager& profiles, const WriteLocations& where, const Settings& settings);

} // namespace ProfileCatalogue

#pragma once

class CProfileManager;
class QComboBox;

// The Profile box as the catalogue fills it: every listed name at its own index, so that
// "CProID" keeps its meaning, with the ones that cannot be used marked and explained.
// UI thread only.
namespace ProfileBoxMarks {

// Fills `box` with the names of `profiles`; an unusable entry reads "NAME (unavailable)" or
// "NAME (malformed)", is greyed and carries its reason as its tooltip.
void Fill(QComboBox& box, const CProfileManager& profiles);

// Puts the chosen entry's reason on the box (tooltip and accessible description); clears it
// for a usable entry.
void ShowReason(QComboBox& box, const CProfileManager& profiles);

} // namespace ProfileBoxMarks

#pragma once

class CProfileManager;
class QComboBox;

// The Profile box as the catalogue fills it: the listed names under headings of their group
// (today's video first), each entry carrying its catalogue index, so that "CProID" keeps its
// meaning; the ones that cannot be used are marked and explained. UI thread only.
namespace ProfileBoxMarks {

// Fills `box` afresh with the names of `profiles` under non-selectable headings; an unusable
// entry reads "NAME (unavailable)" or "NAME (malformed)", is greyed and carries its reason as
// its tooltip.
void Fill(QComboBox& box, const CProfileManager& profiles);

// The catalogue index of the box's entry `entry`; -1 for a heading or outside the box.
int CatalogueIndex(const QComboBox& box, int entry);

// The box entry of catalogue index `index`; -1 when the box does not list it.
int EntryOf(const QComboBox& box, int index);

// Puts the chosen entry's reason on the box (tooltip and accessible description); clears it
// for a usable entry.
void ShowReason(QComboBox& box, const CProfileManager& profiles);

} // namespace ProfileBoxMarks

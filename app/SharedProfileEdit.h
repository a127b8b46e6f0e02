#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <memory>

struct Profile;

// What the profiles of several selected rows share, as one profile the editor shows, and how
// an edit of it reaches each of them: a value they all hold is shown, any other is shown empty
// and stays each row's own until the user changes it. UI thread.
class SharedProfileEdit
{
public:
    // Takes `loaded`, a fresh load of the first profile's name, and gives each of its options
    // the value every one of `profiles` holds, or empty when they differ or one lacks it.
    SharedProfileEdit(std::unique_ptr<Profile> loaded, const QList<Profile*>& profiles);
    ~SharedProfileEdit();

    // The profile the editor shows and writes its values back into.
    Profile& shown() { return *m_shown; }

    // Copies every value changed in shown() since it was made or last applied into each of
    // `profiles` that has that option. Returns the number of values that changed.
    int apply(const QList<Profile*>& profiles);

private:
    std::unique_ptr<Profile> m_shown;
    QMap<QByteArray, QByteArray> m_asShown; // option name -> the value shown at first
};

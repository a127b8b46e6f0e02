#pragma once

struct Profile;

// Where CProfileManager shows a profile: the parameter editor implements it. The manager
// works without one (nothing is shown). Called on the UI thread only.
class IProfileView
{
public:
    // How a profile is shown; the numbers are the `mode` values ShowProfile takes.
    enum Mode
    {
        ReadOnly = 0,
        Editable = 1,
    };

    virtual ~IProfileView() = default;

    // Shows `profile` in `mode` (ReadOnly or Editable). The profile outlives the display:
    // it stays alive until the next ShowProfile or ClearProfile call.
    virtual void ShowProfile(Profile& profile, int mode) = 0;

    // Shows nothing; the view must drop every link into the profile it showed.
    virtual void ClearProfile() = 0;

    // Copies every shown value back into the matching option of `profile`.
    virtual void WriteBack(Profile& profile) = 0;

    // Makes every shown value read-only (the values stay shown).
    virtual void LockAll() = 0;

    // Adds `text` to the info of the shown option named `option` (what a conversion found);
    // nothing when the option is not shown.
    virtual void ShowFound(const QByteArray& /*option*/, const QString& /*text*/) {}
};

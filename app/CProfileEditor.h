#pragma once

#include "CParamTree.h"
#include "IProfileView.h"

#include <QPointer>

class CParamTreeItem;
class QWidget;
struct ProfileOption;

// The profile parameter editor: shows one Profile's options in a CParamTree under "General",
// "Video" and "Audio", and writes edited values back into that Profile. Each value item links
// to its ProfileOption, so a write-back only ever touches the Profile shown.
// Threads: UI thread only. The tree is a child of the parent given (the window places it);
// the shown Profile must outlive the display (see IProfileView).
class CProfileEditor : public IProfileView
{
public:
    static constexpr int kControlId = 10000001;
    static constexpr unsigned kTreeOptions = 0x19; // info pane, own colours for categories

    // Creates the option tree as a child of `parent`; notifications go to `parent`.
    explicit CProfileEditor(QWidget* parent);
    ~CProfileEditor() override;
    CProfileEditor(const CProfileEditor&) = delete;
    CProfileEditor& operator=(const CProfileEditor&) = delete;

    // The option tree, for the window to place (on the rectangle of its editor frame).
    QWidget* widget() const;
    CParamTree* Tree() const { return m_tree; }

    // Shows `profile`'s options by category, editable in mode Editable except "READONLY" options.
    void ShowProfile(Profile& profile, int mode) override;
    // Shows nothing and forgets the profile.
    void ClearProfile() override;
    // Copies each value item's text into its own option, when `profile` is the one shown and
    // it was shown editable (a read-only display never writes, so it cannot race a reader).
    void WriteBack(Profile& profile) override;
    // Ends any editing and makes every value read-only.
    void LockAll() override;
    // Puts `text` under the help of the item linked to the option named `option`.
    void ShowFound(const QByteArray& option, const QString& text) override;

    // Adds the item for `option` under `category`: an edit box for kind 0, a drop-down for
    // kinds 1 and 2; null for other kinds.
    CParamTreeItem* AddOptionItem(CParamTreeItem* category, ProfileOption& option, int mode);
    // 1 under "Video", 2 under "Audio", 3 under "General", else -1 (also for no item).
    static int CategoryOf(const CParamTreeItem* item);
    // The profile shown, null when none.
    const Profile* ShownProfile() const { return m_profile; }

private:
    QPointer<CParamTree> m_tree;
    Profile* m_profile = nullptr;
    bool m_editable = false; // shown Editable (LockAll keeps it: the shown values stand)
};

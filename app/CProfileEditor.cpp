#include "CProfileEditor.h"

#include "CParamTree.h"
#include "CParamTreeCombo.h"
#include "CParamTreeEdit.h"
#include "OptionTable.h"
#include "OptionValueCheck.h"
#include "OptionValueValidator.h"
#include "Profile.h"

#include <QComboBox>

namespace {

QString local(const QByteArray& text)
{
    return QString::fromLocal8Bit(text);
}

ProfileOption* linkedOption(const CParamTreeItem* item)
{
    return reinterpret_cast<ProfileOption*>(item->GetItemData());
}

bool hasValue(const CParamTreeItem* item)
{
    return item->GetType() == CParamTreeItem::kEdit || item->GetType() == CParamTreeItem::kCombo;
}

} // namespace

CProfileEditor::CProfileEditor(QWidget* parent)
    : m_tree(new CParamTree(kTreeOptions, kControlId, parent))
{
    m_tree->setObjectName(QStringLiteral("profileEditor"));
    m_tree->setAccessibleName(QStringLiteral("Profile parameters"));
    m_tree->SetNotifyTarget(true, parent);
}

CProfileEditor::~CProfileEditor()
{
    delete m_tree.data(); // null when the parent went first
}

QWidget* CProfileEditor::widget() const
{
    return m_tree;
}

void CProfileEditor::ShowProfile(Profile& profile, int mode)
{
    m_tree->DeleteAllItems();
    m_profile = &profile;
    m_editable = mode == Editable;

    CParamTreeItem* categories[4] = {};
    const auto addCategory = [this, &categories](int category, const char* label,
                                                 const char* info) {
        auto* item = new CParamTreeItem;
        m_tree->InsertItem(item);
        item->SetLabel(QString::fromLatin1(label));
        item->SetHelpText(QString::fromLatin1(info));
        categories[category] = item;
    };
    if (profile.generalCount > 0)
        addCategory(OPT_CATEGORY_GENERAL, "General", "General Options");
    if (profile.videoCount > 0)
        addCategory(OPT_CATEGORY_VIDEO, "Video", "Video Options");
    if (profile.audioCount > 0)
        addCategory(OPT_CATEGORY_AUDIO, "Audio", "Audio Options");

    for (ProfileOption* option = profile.firstOption; option; option = option->next) {
        if (option->category >= 1 && option->category <= 3 && categories[option->category])
            AddOptionItem(categories[option->category], *option, mode);
    }
    m_tree->PlaceEditors();
    m_tree->ExpandAll();
    m_tree->PlaceDivider();
}

void CProfileEditor::ClearProfile()
{
    m_tree->DeleteAllItems();
    m_profile = nullptr;
    m_editable = false;
}

CParamTreeItem* CProfileEditor::AddOptionItem(CParamTreeItem* category, ProfileOption& option,
                                              int mode)
{
    const OptionRow& row = FindOption(option.name);
    const QString value = local(option.value);
    CParamTreeItem* item = nullptr;
    if (option.kind == 0) {
        auto* edit = new CParamTreeEdit;
        m_tree->InsertItem(edit, category);
        edit->SetLabel(local(option.label));
        edit->SetHelpText(local(option.help));
        if (edit->CreateEdit(0))
            edit->SetText(value);
        item = edit;
    } else if (option.kind == 1 || option.kind == 2) {
        auto* combo = new CParamTreeCombo;
        m_tree->InsertItem(combo, category);
        combo->SetLabel(local(option.label));
        combo->SetHelpText(local(option.help));
        const int style =
            option.kind == 1 ? CParamTreeCombo::kDropDown : CParamTreeCombo::kDropDownList;
        if (combo->CreateCombo(style)) {
            if (!option.listText.isEmpty()) {
                for (const QByteArray& choice : option.choices)
                    combo->ComboBox()->addItem(local(choice));
            } else {
                for (int i = 0; i < row.listCount; ++i)
                    combo->ComboBox()->addItem(QString::fromLatin1(row.list[i]));
            }
            if (combo->SelectString(value) < 0)
                combo->SetText(value);
            // Typed values of the rows with a form of their own are held to it.
            if (option.kind == 1 && !OptionValueCheck::pattern(option.name).isEmpty())
                combo->ComboBox()->setValidator(
                    new OptionValueValidator(option.name, combo->ComboBox()));
        }
        item = combo;
    } else {
        return nullptr;
    }
    item->SetReadOnly(mode != Editable || option.access == "READONLY");
    item->SetItemData(reinterpret_cast<quintptr>(&option));
    return item;
}

void CProfileEditor::WriteBack(Profile& profile)
{
    // The links lead into the profile shown; any other profile is left alone.
    if (&profile != m_profile || !m_editable)
        return;
    m_tree->ForEachItem(nullptr, [](CParamTreeItem* item) {
        ProfileOption* option = linkedOption(item);
        if (!hasValue(item) || !option)
            return;
        const QByteArray text = item->ValueText().toLocal8Bit();
        if (option->value != text)
            option->value = text;
    });
}

void CProfileEditor::LockAll()
{
    bool editing = false;
    m_tree->ForEachItem(
        nullptr, [&editing](CParamTreeItem* item) { editing = editing || item->IsActive(); });
    if (editing)
        m_tree->ListPane()->setFocus(Qt::OtherFocusReason);
    m_tree->ForEachItem(nullptr, [this](CParamTreeItem* item) {
        m_tree->EndEditing(item);
        if (hasValue(item))
            item->SetReadOnly(true);
    });
}

void CProfileEditor::ShowFound(const QByteArray& option, const QString& text)
{
    m_tree->ForEachItem(nullptr, [&](CParamTreeItem* item) {
        const ProfileOption* linked = linkedOption(item);
        if (hasValue(item) && linked && linked->name == option)
            item->SetHelpText(local(linked->help) + QLatin1Char('\n') + text);
    });
}

int CProfileEditor::CategoryOf(const CParamTreeItem* item)
{
    const CParamTreeItem* parent = item ? item->Parent() : nullptr;
    if (!parent)
        return -1;
    if (parent->Label() == QLatin1String("Video"))
        return OPT_CATEGORY_VIDEO;
    if (parent->Label() == QLatin1String("Audio"))
        return OPT_CATEGORY_AUDIO;
    if (parent->Label() == QLatin1String("General"))
        return OPT_CATEGORY_GENERAL;
    return -1;
}

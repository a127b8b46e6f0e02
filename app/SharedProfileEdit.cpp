#include "SharedProfileEdit.h"

#include "Profile.h"

SharedProfileEdit::SharedProfileEdit(std::unique_ptr<Profile> loaded,
                                     const QList<Profile*>& profiles)
    : m_shown(std::move(loaded))
{
    for (ProfileOption& option : m_shown->options) {
        bool shared = !profiles.isEmpty();
        QByteArray value;
        for (qsizetype i = 0; shared && i < profiles.size(); ++i) {
            const ProfileOption* own = profiles[i]->optionNamed(option.name);
            shared = own && (i == 0 || own->value == value);
            if (own && i == 0)
                value = own->value;
        }
        option.value = shared ? value : QByteArray();
        m_asShown.insert(option.name, option.value);
    }
}

SharedProfileEdit::~SharedProfileEdit() = default;

int SharedProfileEdit::apply(const QList<Profile*>& profiles)
{
    int changed = 0;
    for (const ProfileOption& option : m_shown->options) {
        if (option.value == m_asShown.value(option.name))
            continue;
        ++changed;
        m_asShown.insert(option.name, option.value);
        for (Profile* profile : profiles)
            if (ProfileOption* own = profile->optionNamed(option.name))
                own->value = option.value;
    }
    return changed;
}

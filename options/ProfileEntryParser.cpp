#include "ProfileEntryParser.h"

#include "OptionTable.h"

#include <cctype>

namespace {

// A field with every double quote turned into a blank, then trimmed.
QByteArray cleanField(QByteArray text)
{
    text.replace('"', ' ');
    return text.trimmed();
}

// Takes the field before the next comma off `rest`; the text after the comma, trimmed,
// becomes the new rest. Without a comma the whole rest is the field and false is returned.
bool takeField(QByteArray& rest, QByteArray& field)
{
    const qsizetype comma = rest.indexOf(',');
    if (comma < 0) {
        field = cleanField(rest);
        rest.clear();
        return false;
    }
    field = cleanField(rest.left(comma));
    rest = rest.mid(comma + 1).trimmed();
    return true;
}

} // namespace

bool ProfileEntryParser::ParseEntry(const QByteArray& key, const QByteArray& value,
                                    ProfileOption& slot)
{
    if (key.isEmpty() || value.isEmpty())
        return false;

    const OptionRow& row = FindOption(key);
    slot = ProfileOption{};
    slot.name = key;
    slot.kind = row.kind;
    slot.category = OptionCategory(row.flags);
    slot.label = (row.label && *row.label) ? QByteArray(row.label) : key;
    slot.help = row.help ? QByteArray(row.help) : QByteArray();
    slot.order = row.order;
    slot.flags = row.flags;

    // Growable buffers throughout: a value of any length is split whole, never cut.
    QByteArray rest = value.trimmed();
    if (!takeField(rest, slot.access))
        return false;
    if (!takeField(rest, slot.reserved))
        return false;
    if (!takeField(rest, slot.value))
        return true;
    if ((slot.kind == 1 || slot.kind == 2) && !rest.isEmpty()) {
        slot.listText = rest;
        slot.choices = SplitChoices(rest);
    }
    return true;
}

QList<QByteArray> ProfileEntryParser::SplitChoices(const QByteArray& listText)
{
    QList<QByteArray> choices;
    if (listText.size() < 2)
        return choices;
    const QByteArray body = listText.mid(1, listText.size() - 2);
    qsizetype pos = 0;
    while (pos <= body.size()) {
        while (pos < body.size() && std::isspace(static_cast<unsigned char>(body[pos])))
            ++pos;
        QByteArray item;
        if (pos < body.size() && body[pos] == '"') {
            // A quoted item keeps its commas; the quotes themselves are not part of it.
            qsizetype close = body.indexOf('"', pos + 1);
            if (close < 0)
                close = body.size();
            item = body.mid(pos + 1, close - pos - 1);
            pos = close + 1;
        }
        qsizetype comma = body.indexOf(',', pos);
        if (comma < 0)
            comma = body.size();
        if (pos < comma)
            item += body.mid(pos, comma - pos);
        item = item.trimmed();
        if (!item.isEmpty())
            choices.append(item);
        pos = comma + 1;
    }
    return choices;
}

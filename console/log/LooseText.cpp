#include "console/log/LooseText.h"

#include <algorithm>

namespace varmo {

namespace {

char16_t lower(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return char16_t(QChar::toLower(char32_t(c)));
}

bool asciiLetter(char16_t c)
{
    return c >= u'a' && c <= u'z';
}

}  // namespace

char16_t LooseText::Plain(QChar c)
{
    const char16_t low = lower(c.unicode());
    switch (low) {
    case u'ą': return u'a';
    case u'ć': return u'c';
    case u'ę': return u'e';
    case u'ł': return u'l';
    case u'ń': return u'n';
    case u'ó': return u'o';
    case u'ś': return u's';
    case u'ź':
    case u'ż': return u'z';
    default: break;
    }
    // Other letters with marks (ü, é, ...) by their canonical decomposition.
    if (low >= 0xC0 && QChar::decompositionTag(low) == QChar::Canonical) {
        const QString parts = QChar::decomposition(low);
        if (!parts.isEmpty() && parts.front().unicode() < 0x80)
            return lower(parts.front().unicode());
    }
    return low;
}

LooseText::LooseText(const QString& wanted) : wanted_(wanted), lower_(wanted.toLower())
{
    for (const QChar c : lower_)
        loose_ = loose_ || asciiLetter(c.unicode());
}

bool LooseText::FoundIn(QStringView text) const
{
    if (wanted_.isEmpty())
        return true;
    if (text.contains(wanted_, Qt::CaseInsensitive))
        return true;
    if (!loose_)
        return false;  // nothing typed plain: the search above was all
    // What the search above missed holds a marked letter: the first one
    // tells where a match may begin at the earliest.
    qsizetype marked = 0;
    while (marked < text.size() && text[marked].unicode() < 0x80)
        ++marked;
    if (marked == text.size())
        return false;
    const qsizetype length = lower_.size();
    const char16_t* want = reinterpret_cast<const char16_t*>(lower_.utf16());
    const qsizetype first = std::max<qsizetype>(0, marked - length + 1);
    for (qsizetype at = first; at + length <= text.size(); ++at) {
        qsizetype i = 0;
        for (; i < length; ++i) {
            const char16_t c = text[at + i].unicode();
            const char16_t low = lower(c);
            if (low == want[i])
                continue;
            if (c < 0x80 || !asciiLetter(want[i]) || Plain(QChar(c)) != want[i])
                break;
        }
        if (i == length)
            return true;
    }
    return false;
}

}  // namespace varmo

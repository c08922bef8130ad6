// Comparison of names with only the ASCII letters A-Z taken as a-z: the one
// rule by which profile keys and the files named after them are matched.
#pragma once

#include <QByteArrayView>

namespace rtl {

constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

constexpr bool asciiCaseEqual(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

} // namespace rtl

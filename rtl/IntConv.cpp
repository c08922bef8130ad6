// Strict integer conversion.
#include "rtl/IntConv.h"

#include "rtl/Errors.h"

namespace rtl {

static int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<qint32> TryStrToInt(const QByteArray& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i < n && text[i] == '$') {
        ++i;
        if (i == n)
            return std::nullopt;
        quint64 value = 0;
        for (; i < n; ++i) {
            const int digit = hexValue(text[i]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + quint64(digit);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        quint32 bits = quint32(value);
        if (negative)
            bits = 0u - bits;
        return qint32(bits);
    }
    if (i == n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return qint32(value);
}

qint32 StrToInt(const QByteArray& text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    raiseInvalidInteger(QString::fromLocal8Bit(text));
}

qint32 StrToInt(const QString& text)
{
    if (const auto value = TryStrToInt(text.toLocal8Bit()))
        return *value;
    raiseInvalidInteger(text);
}

qint32 StrToIntDef(const QByteArray& text, qint32 fallback) { return TryStrToInt(text).value_or(fallback); }

} // namespace rtl

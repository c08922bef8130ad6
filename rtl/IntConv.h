// Strict text-to-integer conversion used for every number read from a file.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace rtl {

// Leading blanks, an optional sign, then decimal digits or "$" and hexadecimal
// digits, and nothing after them. Decimal values must fit a signed 32-bit
// integer; hexadecimal values up to $FFFFFFFF wrap into the negative range.
std::optional<qint32> TryStrToInt(const QByteArray& text);

// As TryStrToInt, raising EConvertError "'%s' is not a valid integer value".
qint32 StrToInt(const QByteArray& text);
qint32 StrToInt(const QString& text);

// As TryStrToInt, returning the default for anything that does not convert.
qint32 StrToIntDef(const QByteArray& text, qint32 fallback);

} // namespace rtl

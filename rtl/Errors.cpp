// Runtime error classes and their messages.
#include "rtl/Errors.h"

#include <cerrno>

namespace rtl {

Exception::Exception(QString message)
    : message_(std::move(message))
    , utf8_(message_.toUtf8())
{
}

static QString inOutMessage(int code)
{
    switch (code) {
    case ioAccessDenied:
        return QStringLiteral("File access denied");
    case ioDiskFull:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(code);
    }
}

EInOutError::EInOutError(int code)
    : EInOutError(code, inOutMessage(code))
{
}

EInOutError::EInOutError(int code, QString message)
    : Exception(std::move(message))
    , ErrorCode(code)
{
}

EInOutError EInOutError::fromErrno(int err)
{
    if (const auto code = ioCodeFromErrno(err))
        return EInOutError(*code);
    return EInOutError(err, QStringLiteral("I/O error %1").arg(err));
}

std::optional<int> ioCodeFromErrno(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return ioAccessDenied;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return ioDiskFull;
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    default:
        // EIO and the rest: a number of their own, never one that reads as another error.
        return std::nullopt;
    }
}

void raiseInvalidInteger(const QString& text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

void raiseInOut(int code) { throw EInOutError(code); }

void raiseInOutFromErrno(int err) { throw EInOutError::fromErrno(err); }

void raiseCannotOpen(const QString& path) { throw EFOpenError(QStringLiteral("Cannot open file %1").arg(path)); }

void raiseInvalidBitmap() { throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid")); }

void raiseInvalidDate() { throw EConvertError(QStringLiteral("Invalid argument to date encode")); }

} // namespace rtl

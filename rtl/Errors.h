// Runtime errors raised by the runtime layer, each with the exact text the user sees.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>
#include <optional>

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A text that is not a number, or a date that does not exist.
class EConvertError final : public Exception {
public:
    using Exception::Exception;
};

// A failed file operation; the code follows the classic I/O error numbers
// (5 access denied, 101 disk full, anything else shown as a number).
class EInOutError final : public Exception {
public:
    explicit EInOutError(int code);
    // The system's error number `err`: its classic number where it has one,
    // otherwise "I/O error <err>" with `err` itself as the code.
    static EInOutError fromErrno(int err);
    int ErrorCode;

private:
    EInOutError(int code, QString message);
};

class EFOpenError final : public Exception {
public:
    using Exception::Exception;
};

class EInvalidGraphic final : public Exception {
public:
    using Exception::Exception;
};

class EIniFileException final : public Exception {
public:
    using Exception::Exception;
};

// A program that could not be started.
class EProcessError final : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void raiseInvalidInteger(const QString& text);
[[noreturn]] void raiseInOut(int code);
[[noreturn]] void raiseInOutFromErrno(int err);
[[noreturn]] void raiseCannotOpen(const QString& path);
[[noreturn]] void raiseInvalidBitmap();
[[noreturn]] void raiseInvalidDate();

constexpr int ioAccessDenied = 5;
constexpr int ioReadError = 100;
constexpr int ioDiskFull = 101;

// Classic I/O error number for a POSIX errno value, or nothing when the
// value has no classic counterpart.
std::optional<int> ioCodeFromErrno(int err);

} // namespace rtl

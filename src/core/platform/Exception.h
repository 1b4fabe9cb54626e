#pragma once
// The base of the program's own errors: a message for the user. Deep calls raise them; the core
// object that made the call catches them and hands them on as failures (Failure.h).
#include "core/platform/Failure.h"

#include <QByteArray>
#include <QString>

#include <exception>

namespace zrk {

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }
    virtual Failure::Kind kind() const noexcept { return Failure::Kind::Other; }

private:
    QString message_;
    QByteArray utf8_;
};

}  // namespace zrk

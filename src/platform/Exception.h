#pragma once
// The base of the program's own errors: a message for the user. Errors are raised as
// exceptions and caught at the edge of the event loop, where they are shown.
#include <QByteArray>
#include <QString>

#include <exception>

namespace zrk {

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

}  // namespace zrk

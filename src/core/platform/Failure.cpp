#include "core/platform/Failure.h"

#include "core/platform/Exception.h"

#include <QCoreApplication>
#include <QStringList>

namespace zrk {

Failure failureOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return {e.kind(), e.message(), false, {}};
    } catch (const std::exception& e) {
        return {Failure::Kind::Other, QString::fromLocal8Bit(e.what()), false, {}};
    } catch (...) {
        return {Failure::Kind::Other,
                QCoreApplication::translate("zrk::TRusCID", "Неизвестная ошибка"), false, {}};
    }
}

QString failureLines(const Failures& failures) {
    QStringList lines;
    for (const Failure& f : failures) lines.append(f.text);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zrk

#include "core/platform/Failure.h"

#include "core/platform/Exception.h"

#include <QCoreApplication>
#include <QStringList>

namespace zrk {

Failure failureOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return Failure::make(e.kind(), e.message());
    } catch (const std::exception& e) {
        return Failure::make(Failure::Kind::Other, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return Failure::make(Failure::Kind::Other,
                             QCoreApplication::translate("zrk::TRusCID", "Неизвестная ошибка"));
    }
}

QString failureLines(const Failures& failures) {
    QStringList lines;
    for (const Failure& f : failures) lines.append(f.text);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zrk

#include "core/platform/Failure.h"

#include "core/platform/Exception.h"

#include <QCoreApplication>
#include <QStringList>

namespace zrk {

Failure failureOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return {.kind = e.kind(), .text = e.message()};
    } catch (const std::exception& e) {
        return {.kind = Failure::Kind::Other, .text = QString::fromLocal8Bit(e.what())};
    } catch (...) {
        return {.kind = Failure::Kind::Other,
                .text = QCoreApplication::translate("zrk::TRusCID", "Неизвестная ошибка")};
    }
}

QString failureLines(const Failures& failures) {
    QStringList lines;
    for (const Failure& f : failures) lines.append(f.text);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zrk

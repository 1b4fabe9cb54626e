#include "core/call/LineStatus.h"

#include <QCoreApplication>

namespace zrk {

QString statusText(int code) {
    static const char* const kTexts[] = {QT_TRANSLATE_NOOP("zrk::LineStatus", "Ожидание звонка"),
                                         QT_TRANSLATE_NOOP("zrk::LineStatus", "Набор номера"),
                                         QT_TRANSLATE_NOOP("zrk::LineStatus", "Звонок"),
                                         QT_TRANSLATE_NOOP("zrk::LineStatus", "Порт закрыт"),
                                         QT_TRANSLATE_NOOP("zrk::LineStatus", "Занято"),
                                         QT_TRANSLATE_NOOP("zrk::LineStatus", "Ошибка"),
                                         QT_TRANSLATE_NOOP("zrk::LineStatus", "Нет ответа"),
                                         QT_TRANSLATE_NOOP("zrk::LineStatus", "Ожидание ответа")};
    return code >= 1 && code <= 8 ? QCoreApplication::translate("zrk::LineStatus", kTexts[code - 1])
                                  : QString();
}

QString statusWord(int status) {
    static const char* const kWords[] = {QT_TRANSLATE_NOOP("zrk::CallRow", "нормальный"),
                                         QT_TRANSLATE_NOOP("zrk::CallRow", "плохой"),
                                         QT_TRANSLATE_NOOP("zrk::CallRow", "приоритетный")};
    return QCoreApplication::translate("zrk::CallRow",
                                       kWords[status == 1 || status == 2 ? status : 0]);
}

}  // namespace zrk

#include "main/LineStatus.h"

namespace zrk {

QString statusText(int code) {
    switch (code) {
        case 1: return QStringLiteral("Ожидание звонка");
        case 2: return QStringLiteral("Набор номера");
        case 3: return QStringLiteral("Звонок");
        case 4: return QStringLiteral("Порт закрыт");
        case 5: return QStringLiteral("Занято");
        case 6: return QStringLiteral("Ошибка");
        case 7: return QStringLiteral("Нет ответа");
        case 8: return QStringLiteral("Ожидание ответа");
        default: return {};
    }
}

}  // namespace zrk

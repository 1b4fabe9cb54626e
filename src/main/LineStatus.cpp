#include "main/LineStatus.h"

namespace zrk {

QString statusText(int code) {
    static const char* const kTexts[] = {"Ожидание звонка", "Набор номера",   "Звонок",
                                         "Порт закрыт",     "Занято",         "Ошибка",
                                         "Нет ответа",      "Ожидание ответа"};
    return code >= 1 && code <= 8 ? QString::fromUtf8(kTexts[code - 1]) : QString();
}

}  // namespace zrk

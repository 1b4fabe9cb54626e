// The main window's parts made: the display panels, the buttons and the two menus, each
// named as the rest of the program and the tests know it.
#include "gui/main/ClickLabel.h"
#include "gui/main/Icons.h"
#include "gui/main/RusCID.h"

#include "core/platform/TimeText.h"
#include "gui/settings/Form.h"
#include "gui/windows/FontFit.h"

#include <QAction>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace zrk {
namespace {

// Room for a wide button's caption: 102 pixels less its picture, spacing and margins.
constexpr int kWideCaptionWidth = 102 - 16 - 16;

QFont pixelFont(const QString& family, int pixels, bool bold = false) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

}  // namespace

void buildLayout(TRusCID& window, RusCIDParts& c) {
    const QFont small = pixelFont(QStringLiteral("MS Serif"), 9);

    c.pTools = named<QFrame>("pTools", &window);
    c.pTools->setGeometry(0, 0, 203, 70);

    const auto panel = [&](QLabel* l, const char* name, QRect r, Qt::Alignment a) {
        l->setObjectName(QLatin1String(name));
        l->setGeometry(r);
        l->setAlignment(a);
        l->setAutoFillBackground(true);
        return l;
    };
    c.pNumber = panel(new QLabel(c.pTools), "pNumber", {3, 3, 161, 46}, Qt::AlignCenter);
    c.pInfo = panel(new QLabel(c.pTools), "pInfo", {3, 50, 161, 17}, Qt::AlignCenter);
    c.pClock = panel(new QLabel(c.pTools), "pClock", {168, 3, 30, 13}, Qt::AlignCenter);
    c.pClock->setToolTip(TRusCID::tr("Текущее время"));
    // The locale's clock, "22:58" or "10:58 PM", in the design's room.
    c.pClock->setFont(
        condenseToWidth(small, localTimeText(QTime(22, 58), false), c.pClock->width()));

    const auto indicator = [&](const char* name, const char* text, const char* hint, QRect r) {
        auto* l = new ClickLabel(TRusCID::tr(text), c.pTools);
        panel(l, name, r, Qt::AlignCenter);
        l->setToolTip(TRusCID::tr(hint));
        l->setFont(small);
        l->setCursor(Qt::PointingHandCursor);
        return l;
    };
    c.stSound = indicator("stSound", QT_TRANSLATE_NOOP("zrk::TRusCID", "з"),
                          QT_TRANSLATE_NOOP("zrk::TRusCID", "Звук"), {169, 20, 7, 12});
    c.stPhones =
        indicator("stPhones", QT_TRANSLATE_NOOP("zrk::TRusCID", "т"),
                  QT_TRANSLATE_NOOP("zrk::TRusCID", "Телефонная книжка"), {177, 20, 6, 12});
    c.stPort = indicator("stPort", QT_TRANSLATE_NOOP("zrk::TRusCID", "п"),
                         QT_TRANSLATE_NOOP("zrk::TRusCID", "Порт"), {184, 20, 6, 12});
    c.stButtons = indicator("stButtons", QT_TRANSLATE_NOOP("zrk::TRusCID", "к"),
                            QT_TRANSLATE_NOOP("zrk::TRusCID", "Панель кнопок"), {191, 20, 6, 12});
    c.stZvon = panel(new QLabel(TRusCID::tr("звонок"), c.pTools), "stZvon", {167, 36, 30, 10},
                     Qt::AlignCenter);
    c.stZvon->setFont(small);
    c.pTimer = indicator("pTimer", "00 : 00", QT_TRANSLATE_NOOP("zrk::TRusCID", "Таймер"),
                         {169, 52, 27, 10});
    c.pTimer->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    c.pTimer->setFont(condenseToWidth(small, c.pTimer->text(), c.pTimer->width()));

    c.pCountCall = new ClickLabel(&window);
    panel(c.pCountCall, "pCountCall", {205, 0, 41, 25}, Qt::AlignCenter);
    c.pCountCall->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.pCountCall->setToolTip(TRusCID::tr("Количество звонков"));

    const auto button = [&](const char* name, const QString& text, const char* hint, QRect r) {
        auto* b = named<QToolButton>(name, &window);
        b->setGeometry(r);
        b->setText(text);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        if (hint) b->setToolTip(TRusCID::tr(hint));
        return b;
    };
    c.sbViewListRing =
        button("sbViewListRing", TRusCID::tr("Список"),
               QT_TRANSLATE_NOOP("zrk::TRusCID", "Список звонков"), {205, 26, 41, 18});
    c.sbViewListRing->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 10));
    c.sbAnswer = button("sbAnswer", QString(), QT_TRANSLATE_NOOP("zrk::TRusCID", "Снять трубку"),
                        {205, 48, 41, 22});
    c.sbAnswer->setIcon(answerGlyph());

    const QFont keyFont = pixelFont(QStringLiteral("MS Sans Serif"), 12, true);
    static const int keyX[3] = {1, 48, 95};
    for (int d = 1; d <= 9; ++d) {
        const QByteArray name = "sb" + QByteArray::number(d);
        c.sbKeys[d] = button(name.constData(), QString::number(d), nullptr,
                             {keyX[(d - 1) % 3], 72 + 24 * ((d - 1) / 3), 41, 22});
        c.sbKeys[d]->setFont(keyFont);
    }
    c.sbFlash =
        button("sbFlash", QString(), QT_TRANSLATE_NOOP("zrk::TRusCID", "Сброс"), {1, 144, 41, 22});
    c.sbFlash->setIcon(resetGlyph());
    c.sbKeys[0] = button("sb0", QStringLiteral("0"), nullptr, {48, 144, 41, 22});
    c.sbKeys[0]->setFont(keyFont);
    c.sbDial = button("sbDial", QStringLiteral("#"), QT_TRANSLATE_NOOP("zrk::TRusCID", "Звонить"),
                      {95, 144, 41, 22});
    c.sbDial->setFont(keyFont);

    // The four wide buttons share one face, narrowed for the widest caption any of them can
    // show, so that "Закрыть порт" reads in the same letters as its neighbours; never cut to
    // "Откры... порт".
    const QString book = TRusCID::tr("Телефоны"), reminders = TRusCID::tr("Напоминания"),
                  open = TRusCID::tr("Открыть порт"), close = TRusCID::tr("Закрыть порт"),
                  hide = TRusCID::tr("Спрятать");
    const QFont face = pixelFont(QStringLiteral("MS Sans Serif"), 11);
    const QFontMetrics metrics(face);
    QString widest;
    for (const QString& caption : {book, reminders, open, close, hide})
        if (metrics.horizontalAdvance(caption) > metrics.horizontalAdvance(widest))
            widest = caption;
    const QFont wideFace = condenseToWidth(face, widest, kWideCaptionWidth);
    const auto wide = [&](const char* name, const QString& text, const char* hint, int y) {
        auto* b = button(name, text, hint, {144, y, 102, 22});
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setFont(wideFace);
        return b;
    };
    c.sbBook = wide("sbBook", book, QT_TRANSLATE_NOOP("zrk::TRusCID", "Телефонная книжка"), 72);
    c.sbOpti =
        wide("sbOpti", reminders, QT_TRANSLATE_NOOP("zrk::TRusCID", "Список напоминаний"), 96);
    c.sbOpenClose = wide("sbOpenClose", open, nullptr, 120);
    c.sbHide = wide("sbHide", hide, QT_TRANSLATE_NOOP("zrk::TRusCID", "Спрятать окно"), 144);

    for (QFrame* w :
         std::initializer_list<QFrame*>{c.pTools, c.pNumber, c.pInfo, c.pClock, c.stZvon})
        w->installEventFilter(&window);
}

void buildMenus(TRusCID& window, RusCIDParts& c) {
    const auto item = [](QMenu* menu, const char* name, const char* text, bool checkable = false) {
        QAction* a = menu->addAction(TRusCID::tr(text));
        a->setObjectName(QLatin1String(name));
        a->setCheckable(checkable);
        return a;
    };
    c.PopupMenu1 = named<QMenu>("PopupMenu1", &window);
    c.mPShow = item(c.PopupMenu1, "mPShow", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Спрятать"));
    c.PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N3"));
    c.mPStayOnTop = item(c.PopupMenu1, "mPStayOnTop",
                         QT_TRANSLATE_NOOP("zrk::TRusCID", "&Поверх других окон"), true);
    c.mPButton =
        item(c.PopupMenu1, "mPButton", QT_TRANSLATE_NOOP("zrk::TRusCID", "Панель &кнопок"), true);
    c.mPClock = item(c.PopupMenu1, "mPClock", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Часы"), true);
    c.mPTimer = item(c.PopupMenu1, "mPTimer", QT_TRANSLATE_NOOP("zrk::TRusCID", "Т&аймер"), true);
    c.mPBook =
        item(c.PopupMenu1, "mPBook", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Телефонная книга"), true);
    c.mPReminder =
        item(c.PopupMenu1, "mPReminder", QT_TRANSLATE_NOOP("zrk::TRusCID", "Напо&минания"), true);
    c.mPHistory = c.PopupMenu1->addAction(TRusCID::tr("&История звонков..."));
    c.mPHistory->setObjectName(QStringLiteral("mPHistory"));
    c.PopupMenu1->addSeparator()->setObjectName(QStringLiteral("mPTire1"));
    c.mPOpenPort =
        item(c.PopupMenu1, "mPOpenPort", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Открыть порт"));
    c.mPOpenPort->setIcon(portGlyph(true));
    c.mPClosePort =
        item(c.PopupMenu1, "mPClosePort", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Закрыть порт"));
    c.mPClosePort->setIcon(portGlyph(false));
    c.PopupMenu1->addSeparator()->setObjectName(QStringLiteral("mPTire2"));
    c.mPOpti = item(c.PopupMenu1, "mPOpti", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Настройки..."));
    c.mPAbout = item(c.PopupMenu1, "mPAbout", QT_TRANSLATE_NOOP("zrk::TRusCID", "О п&рограмме..."));
    c.mPExit = item(c.PopupMenu1, "mPExit", QT_TRANSLATE_NOOP("zrk::TRusCID", "Вы&ход"));

    c.PopupMenu2 = named<QMenu>("PopupMenu2", &window);
    c.mPReDial =
        item(c.PopupMenu2, "mPReDial", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Набрать номер"));
    c.N2 = item(c.PopupMenu2, "N2", QT_TRANSLATE_NOOP("zrk::TRusCID", "Сб&рос номера"));
    c.CID = item(c.PopupMenu2, "CID", QT_TRANSLATE_NOOP("zrk::TRusCID", "О&пределить номер"));
    c.PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N5"));
    c.mPAnswer = item(c.PopupMenu2, "mPAnswer", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Снять трубку"));
    c.mPAnswer->setIcon(answerGlyph());
    c.PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N7"));
    c.N8 = item(c.PopupMenu2, "N8", QT_TRANSLATE_NOOP("zrk::TRusCID", "&Добавить в книгу..."));
    c.N9 =
        item(c.PopupMenu2, "N9", QT_TRANSLATE_NOOP("zrk::TRusCID", "Добавить в напо&минание..."));

    window.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        &window, &QWidget::customContextMenuRequested, &window,
        [&window, &c](const QPoint& p) { c.PopupMenu1->popup(window.mapToGlobal(p)); });
    c.pNumber->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(c.pNumber, &QWidget::customContextMenuRequested, &window,
                     [&c](const QPoint& p) { c.PopupMenu2->popup(c.pNumber->mapToGlobal(p)); });
}

}  // namespace zrk

// The main window's layout, fonts and colours, size, talk timer, view toggles, dragging and
// keyboard.
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "core/call/CallerReport.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Icons.h"
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"
#include "gui/desktop/ColorRef.h"
#include "core/platform/TimeText.h"
#include "gui/settings/Form.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "gui/windows/CIDAbout.h"

#include "gui/windows/FontFit.h"

#include <QAction>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include <type_traits>

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

QFont pointFont(const QString& family, int points) {
    QFont f(family);
    f.setPointSize(qMax(1, points));
    return f;
}

}  // namespace

void TRusCID::buildLayout() {
    const QFont small = pixelFont(QStringLiteral("MS Serif"), 9);

    pTools = named<QFrame>("pTools", this);
    pTools->setGeometry(0, 0, 203, 70);

    const auto panel = [&](QLabel* l, const char* name, QRect r, Qt::Alignment a) {
        l->setObjectName(QLatin1String(name));
        l->setGeometry(r);
        l->setAlignment(a);
        l->setAutoFillBackground(true);
        return l;
    };
    pNumber = panel(new QLabel(pTools), "pNumber", {3, 3, 161, 46}, Qt::AlignCenter);
    pInfo = panel(new QLabel(pTools), "pInfo", {3, 50, 161, 17}, Qt::AlignCenter);
    pClock = panel(new QLabel(pTools), "pClock", {168, 3, 30, 13}, Qt::AlignCenter);
    pClock->setToolTip(tr("Текущее время"));
    // The locale's clock, "22:58" or "10:58 PM", in the design's room.
    pClock->setFont(condenseToWidth(small, localTimeText(QTime(22, 58), false), pClock->width()));

    const auto indicator = [&](const char* name, const char* text, const char* hint, QRect r) {
        auto* l = new ClickLabel(tr(text), pTools);
        panel(l, name, r, Qt::AlignCenter);
        l->setToolTip(tr(hint));
        l->setFont(small);
        l->setCursor(Qt::PointingHandCursor);
        return l;
    };
    stSound = indicator("stSound", QT_TR_NOOP("з"), QT_TR_NOOP("Звук"), {169, 20, 7, 12});
    stPhones =
        indicator("stPhones", QT_TR_NOOP("т"), QT_TR_NOOP("Телефонная книжка"), {177, 20, 6, 12});
    stPort = indicator("stPort", QT_TR_NOOP("п"), QT_TR_NOOP("Порт"), {184, 20, 6, 12});
    stButtons =
        indicator("stButtons", QT_TR_NOOP("к"), QT_TR_NOOP("Панель кнопок"), {191, 20, 6, 12});
    stZvon = panel(new QLabel(tr("звонок"), pTools), "stZvon", {167, 36, 30, 10}, Qt::AlignCenter);
    stZvon->setFont(small);
    pTimer = indicator("pTimer", "00 : 00", QT_TR_NOOP("Таймер"), {169, 52, 27, 10});
    pTimer->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pTimer->setFont(condenseToWidth(small, pTimer->text(), pTimer->width()));

    pCountCall = new ClickLabel(this);
    panel(pCountCall, "pCountCall", {205, 0, 41, 25}, Qt::AlignCenter);
    pCountCall->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pCountCall->setToolTip(tr("Количество звонков"));

    const auto button = [&](const char* name, const QString& text, const char* hint, QRect r) {
        auto* b = named<QToolButton>(name, this);
        b->setGeometry(r);
        b->setText(text);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        if (hint) b->setToolTip(tr(hint));
        return b;
    };
    sbViewListRing =
        button("sbViewListRing", tr("Список"), QT_TR_NOOP("Список звонков"), {205, 26, 41, 18});
    sbViewListRing->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 10));
    sbAnswer = button("sbAnswer", QString(), QT_TR_NOOP("Снять трубку"), {205, 48, 41, 22});
    sbAnswer->setIcon(answerGlyph());

    const QFont keyFont = pixelFont(QStringLiteral("MS Sans Serif"), 12, true);
    static const int keyX[3] = {1, 48, 95};
    for (int d = 1; d <= 9; ++d) {
        const QByteArray name = "sb" + QByteArray::number(d);
        sbKeys[d] = button(name.constData(), QString::number(d), nullptr,
                           {keyX[(d - 1) % 3], 72 + 24 * ((d - 1) / 3), 41, 22});
        sbKeys[d]->setFont(keyFont);
    }
    sbFlash = button("sbFlash", QString(), QT_TR_NOOP("Сброс"), {1, 144, 41, 22});
    sbFlash->setIcon(resetGlyph());
    sbKeys[0] = button("sb0", QStringLiteral("0"), nullptr, {48, 144, 41, 22});
    sbKeys[0]->setFont(keyFont);
    sbDial = button("sbDial", QStringLiteral("#"), QT_TR_NOOP("Звонить"), {95, 144, 41, 22});
    sbDial->setFont(keyFont);

    // The four wide buttons share one face, narrowed for the widest caption any of them can
    // show, so that "Закрыть порт" reads in the same letters as its neighbours; never cut to
    // "Откры... порт".
    const QString book = tr("Телефоны"), reminders = tr("Напоминания"), open = tr("Открыть порт"),
                  close = tr("Закрыть порт"), hide = tr("Спрятать");
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
    sbBook = wide("sbBook", book, QT_TR_NOOP("Телефонная книжка"), 72);
    sbOpti = wide("sbOpti", reminders, QT_TR_NOOP("Список напоминаний"), 96);
    sbOpenClose = wide("sbOpenClose", open, nullptr, 120);
    sbHide = wide("sbHide", hide, QT_TR_NOOP("Спрятать окно"), 144);

    for (QFrame* w : std::initializer_list<QFrame*>{pTools, pNumber, pInfo, pClock, stZvon})
        w->installEventFilter(this);
}

void TRusCID::buildMenus() {
    const auto item = [](QMenu* menu, const char* name, const char* text, bool checkable = false) {
        QAction* a = menu->addAction(tr(text));
        a->setObjectName(QLatin1String(name));
        a->setCheckable(checkable);
        return a;
    };
    PopupMenu1 = named<QMenu>("PopupMenu1", this);
    mPShow = item(PopupMenu1, "mPShow", QT_TR_NOOP("&Спрятать"));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N3"));
    mPStayOnTop = item(PopupMenu1, "mPStayOnTop", QT_TR_NOOP("&Поверх других окон"), true);
    mPButton = item(PopupMenu1, "mPButton", QT_TR_NOOP("Панель &кнопок"), true);
    mPClock = item(PopupMenu1, "mPClock", QT_TR_NOOP("&Часы"), true);
    mPTimer = item(PopupMenu1, "mPTimer", QT_TR_NOOP("Т&аймер"), true);
    mPBook = item(PopupMenu1, "mPBook", QT_TR_NOOP("&Телефонная книга"), true);
    mPReminder = item(PopupMenu1, "mPReminder", QT_TR_NOOP("Напо&минания"), true);
    mPHistory = PopupMenu1->addAction(tr("&История звонков..."));
    mPHistory->setObjectName(QStringLiteral("mPHistory"));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("mPTire1"));
    mPOpenPort = item(PopupMenu1, "mPOpenPort", QT_TR_NOOP("&Открыть порт"));
    mPOpenPort->setIcon(portGlyph(true));
    mPClosePort = item(PopupMenu1, "mPClosePort", QT_TR_NOOP("&Закрыть порт"));
    mPClosePort->setIcon(portGlyph(false));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("mPTire2"));
    mPOpti = item(PopupMenu1, "mPOpti", QT_TR_NOOP("&Настройки..."));
    mPAbout = item(PopupMenu1, "mPAbout", QT_TR_NOOP("О п&рограмме..."));
    mPExit = item(PopupMenu1, "mPExit", QT_TR_NOOP("Вы&ход"));

    PopupMenu2 = named<QMenu>("PopupMenu2", this);
    mPReDial = item(PopupMenu2, "mPReDial", QT_TR_NOOP("&Набрать номер"));
    N2 = item(PopupMenu2, "N2", QT_TR_NOOP("Сб&рос номера"));
    CID = item(PopupMenu2, "CID", QT_TR_NOOP("О&пределить номер"));
    PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N5"));
    mPAnswer = item(PopupMenu2, "mPAnswer", QT_TR_NOOP("&Снять трубку"));
    mPAnswer->setIcon(answerGlyph());
    PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N7"));
    N8 = item(PopupMenu2, "N8", QT_TR_NOOP("&Добавить в книгу..."));
    N9 = item(PopupMenu2, "N9", QT_TR_NOOP("Добавить в напо&минание..."));

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu1->popup(mapToGlobal(p)); });
    pNumber->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pNumber, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu2->popup(pNumber->mapToGlobal(p)); });
}

void TRusCID::InitFont() {
    const TIni& s = ini();
    pNumber->setFont(pointFont(s.NumberFont, s.NumberSize));
    pCountCall->setFont(pointFont(s.CounterFont, s.CounterSize));
    pInfo->setFont(pointFont(s.InfoFont, s.InfoSize));
    const quint32 back = s.BackgroundColor;
    setColours(pNumber, s.NumberColor, back);
    setColours(pCountCall, s.CounterColor, back);
    setColours(pInfo, s.InfoColor, back);
    setColours(pClock, s.InfoColor, back);
    setColours(pTimer, s.NotActiveColor, back);
    setColours(pTools, s.InfoColor, back);
    for (QWidget* w : {stSound, stPort, stButtons})
        setColours(w, toColorRef(w->palette().color(QPalette::WindowText)), back);
    setColours(stPhones, s.NotActiveColor, back);
    setColours(stZvon, back, back);  // the ring label stays invisible until a ring
    fitNumberFont();
}

void TRusCID::HeightForm() {
    const bool wasVisible = isVisible();
    Qt::WindowFlags flags = Qt::Window;
    if (mPStayOnTop && mPStayOnTop->isChecked()) flags |= Qt::WindowStaysOnTopHint;
    if (ini().Buttons) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        pTools->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pTools->setLineWidth(2);
        setFixedSize(pTools->width() + pCountCall->width() + 10,
                     pTools->height() + 4 * sbKeys[1]->height() + 9);
        setTextColour(stButtons, ini().InfoColor);
    } else {
        flags |= Qt::FramelessWindowHint;
        pTools->setFrameStyle(QFrame::NoFrame);
        setFixedSize(pTools->width(), pTools->height());
        setTextColour(stButtons, ini().NotActiveColor);
    }
    if (windowFlags() != flags) {
        reflagging_ = true;
        setWindowFlags(flags);  // hides the window: bring it back as it was
        if (wasVisible) show();
        reflagging_ = false;
    }
}

void TRusCID::applyStayOnTop(bool on) {
    if (on == windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
    const bool wasVisible = isVisible();
    reflagging_ = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible) show();
    reflagging_ = false;
}

void TRusCID::ViewSound() {
    setTextColour(stSound, ini().Sound ? ini().InfoColor : ini().NotActiveColor);
}

void TRusCID::RunStopTimer(bool on) {
    if (on)
        tTimer->start();
    else
        tTimer->stop();
    setTextColour(pTimer, on ? ini().InfoColor : ini().NotActiveColor);
}

void TRusCID::tTimerTimer() {
    talkSeconds_ = nextTalkSecond(talkSeconds_);
    pTimer->setText(talkTimerText(talkSeconds_));
}

void TRusCID::setInfoCaption(const QString& caption) {
    pInfo->setText(caption);
}

void TRusCID::setInfoHint(const QString& hint, bool show) {
    infoHint_ = hint;
    pInfo->setToolTip(show ? hint : QString());
}

void TRusCID::fitNumberFont() {
    QFont f = pNumber->font();
    f.setPointSize(qMax(1, ini().NumberSize));
    while (QFontMetrics(f).horizontalAdvance(pNumber->text()) > pNumber->width() &&
           f.pointSize() > 1)
        f.setPointSize(f.pointSize() - 1);
    pNumber->setFont(f);
}

void TRusCID::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            safely([this] { sbAnswerClick(); });
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            safely([this] { sbDialClick(); });
            return;
        case Qt::Key_Backspace:
            FormKeyPress(QChar(8));
            return;
        default:
            break;
    }
    if (event->text().size() == 1) {
        FormKeyPress(event->text().at(0));
        return;
    }
    QWidget::keyPressEvent(event);
}

void TRusCID::FormKeyPress(QChar key) {
    safely([&] {
        if (key.isDigit() && key.unicode() < 128) {
            digitClick(key.unicode() - '0');  // also while the keypad is disabled
        } else if (key == QLatin1Char('*')) {
            sbFlashClick();
        } else if (key.unicode() == 8 && !CurrentNumber.isEmpty()) {
            ViewNumber(CurrentNumber.left(CurrentNumber.size() - 1), false);
        }
    });
}

bool TRusCID::eventFilter(QObject* watched, QEvent* event) {
    // The display area moves the window: the grabbed point stays under the pointer.
    if (event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) dragStart_ = e->position().toPoint();
    } else if (event->type() == QEvent::MouseMove) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->buttons() & Qt::LeftButton) {
            const QPoint p = e->position().toPoint();
            if (p != dragStart_) move(x() + p.x() - dragStart_.x(), y() + p.y() - dragStart_.y());
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == pNumber) {
        safely([this] { sbDialClick(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TRusCID::wire() {
    // A menu item's trigger, a button's or a label's click.
    const auto on = [this](auto* sender, auto f) {
        using Sender = std::remove_pointer_t<decltype(sender)>;
        if constexpr (std::is_same_v<Sender, QAction>)
            connect(sender, &QAction::triggered, this, [this, f] { safely(f); });
        else
            connect(sender, &Sender::clicked, this, [this, f] { safely(f); });
    };

    on(mPShow, [this] { mPShowClick(); });
    on(mPStayOnTop, [this] { applyStayOnTop(mPStayOnTop->isChecked()); });
    const auto toggleButtons = [this] {
        changeSettings(SettingsChange::Switched,
                       [this](TIni& s) { s.Buttons = mPButton->isChecked(); });
    };
    on(mPButton, toggleButtons);
    on(stButtons, [this, toggleButtons] {
        mPButton->setChecked(!mPButton->isChecked());
        toggleButtons();
    });
    on(mPClock, [this] {
        changeSettings(SettingsChange::Switched,
                       [this](TIni& s) { s.Clock = mPClock->isChecked(); });
    });
    on(mPTimer, [this] {
        changeSettings(SettingsChange::Switched,
                       [this](TIni& s) { s.Timer = mPTimer->isChecked(); });
    });
    const auto showBook = [this] {
        if (!windows_.book) return;
        if (mPBook->isChecked())
            windows_.book->show();
        else
            windows_.book->close();
    };
    on(mPBook, showBook);
    const auto flipBook = [this, showBook] {
        mPBook->setChecked(!mPBook->isChecked());
        showBook();
    };
    on(sbBook, flipBook);
    on(stPhones, flipBook);
    on(mPOpenPort, [this] { OpenPortClick(); });
    on(mPClosePort, [this] { ClosePortClick(); });
    on(sbOpenClose, [this] { sbOpenCloseClick(); });
    on(stPort, [this] { sbOpenCloseClick(); });
    on(mPExit, [this] { close(); });
    on(mPAbout, [this] {
        TCIDAbout about(this);
        about.exec();
    });
    on(mPOpti, [this] { OptiClick(); });
    wireReminders();
    on(mPHistory, [this] { mPHistoryClick(); });
    on(N8, [this] {
        if (windows_.book) windows_.book->addWithNumber(pNumber->text());
    });
    on(sbHide, [this] { sbHideClick(); });
    on(sbAnswer, [this] { sbAnswerClick(); });
    on(mPAnswer, [this] { sbAnswerClick(); });
    on(sbDial, [this] { sbDialClick(); });
    on(mPReDial, [this] { sbDialClick(); });
    on(sbFlash, [this] { sbFlashClick(); });
    on(N2, [this] { sbFlashClick(); });
    on(CID, [this] { CIDClick(); });
    for (int d = 0; d <= 9; ++d) on(sbKeys[d], [this, d] { digitClick(d); });
    on(sbViewListRing, [this] {
        if (!windows_.calls) return;
        const bool wasShown = CallListShown;
        CallListShown = !CallListShown;
        if (wasShown)
            windows_.calls->close();
        else
            windows_.calls->show();
    });
    connect(pCountCall, &ClickLabel::doubleClicked, this, [this] {
        safely([this] {
            if (windows_.calls) windows_.calls->sbClearClick();
        });
    });
    on(stSound, [this] { stSoundClick(); });
    connect(tRing, &QTimer::timeout, this, [this] { safely([this] { tRingTimer(); }); });
    connect(tRinging, &QTimer::timeout, this, [this] { safely([this] { tRingingTimer(); }); });
    connect(tReDial, &QTimer::timeout, this, [this] { safely([this] { tReDialTimer(); }); });
    on(pTimer, [this] { RunStopTimer(!tTimer->isActive()); });
    connect(pTimer, &ClickLabel::doubleClicked, this, [this] {
        tTimer->stop();
        talkSeconds_ = 0;
        pTimer->setText(talkTimerText(0));
        setTextColour(pTimer, ini().NotActiveColor);
    });
    connect(tTimer, &QTimer::timeout, this, [this] { safely([this] { tTimerTimer(); }); });
    connect(clockTimer, &QTimer::timeout, this,
            [this] { pClock->setText(localTimeText(QTime::currentTime(), false)); });
}

}  // namespace zrk

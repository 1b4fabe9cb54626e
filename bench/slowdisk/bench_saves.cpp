// What a command costs the user-interface thread while its save goes to the disk: the phone
// book window on a book of 100,000 entries (add, edit, delete, group change, status) and the
// reminder list of 10,000 (add, edit, raise). For each command: the time the window takes to
// answer (the command and the events it leaves), and the time until its change is on disk.
// Run it as it is (the local disk) and under run-slow.sh (every sync 500 ms late): the first
// figure must stay the same. The book's commands are timed twice: after the last save ended,
// and while a save still holds its copy of the book (the command then pays for its own copy
// of what it changes). Prints the best and the median of several runs; asserts nothing.
#include "gui/book/PhoneBook.h"
#include "core/platform/BackgroundSave.h"
#include "core/platform/Clock.h"
#include "core/platform/Registry.h"
#include "core/reminders/ReminderRules.h"
#include "gui/reminders/ReminderWindows.h"
#include "core/settings/Settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <vector>

using namespace zrk;

namespace {

constexpr int kEntries = 100000;
constexpr int kGroups = 100;
constexpr int kReminders = 10000;
constexpr int kRuns = 7;

void fillBook(BookStore& book) {
    for (int g = 1; g <= kGroups; ++g)
        book.AddGroup(BookGroup::make(QStringLiteral("Группа %1").arg(g)), true);
    for (int i = 0; i < kEntries; ++i) {
        BookEntry e = BookEntry::empty();
        e.Name.setText(QStringLiteral("Абонент номер %1").arg(i));
        e.Phone.setText(QStringLiteral("(812) %1").arg(1000000 + i));
        e.Address.setText(QStringLiteral("ул. Садовая, д. %1, кв. %2").arg(i % 200).arg(i % 97));
        e.Note.setText(QStringLiteral("заметка\rвторая строка"));
        e.Status = i % 3;
        e.Group = i % (kGroups + 1);
        book.AddItem(e, true);
    }
}

// The last change on disk, outside the window's figure.
void onDisk(TPhoneBook& w) {
    w.finishSaves();
}
void onDisk(TReminder& list) {
    list.finishSaves();
}

// Keeps every save waiting at its start while on, whatever the disk's speed, so that the
// commands timed meanwhile find the book shared with a save under way. Every worker is held
// (the settings' too), and every one is let go at release.
class SaveHold {
public:
    SaveHold() {
        BackgroundSave::setJobWrapper([this](const std::function<void()>& run) {
            {
                std::unique_lock lock(mutex_);
                if (on_) {
                    arrived_.release();
                    open_.wait(lock, [this] { return !on_; });
                }
            }
            run();
        });
    }
    ~SaveHold() { BackgroundSave::setJobWrapper({}); }
    void hold() {
        const std::lock_guard lock(mutex_);
        on_ = true;
    }
    void waitForASave() { arrived_.acquire(); }
    void release() {
        {
            const std::lock_guard lock(mutex_);
            on_ = false;
        }
        open_.notify_all();
        arrived_.tryAcquire(arrived_.available());
    }

private:
    std::mutex mutex_;
    std::condition_variable open_;
    bool on_ = false;
    QSemaphore arrived_;
};

SaveHold* saveHold = nullptr;

struct Figures {
    std::vector<double> answer, disk;
};

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// `command` runs on an idle worker, or, `duringSave`, while the save of the command before
// it is held at its start; the window's answer is the command and the events it leaves
// behind, the disk's the time until its save is done.
template <typename Window>
void measure(const char* what, Window& w, const std::function<void()>& prepare,
             const std::function<void()>& command, bool duringSave = false) {
    Figures f;
    if (duringSave) {
        saveHold->hold();
        if (prepare) prepare();
        command();
        saveHold->waitForASave();
    }
    for (int r = 0; r < kRuns; ++r) {
        if (prepare) prepare();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        command();
        QCoreApplication::processEvents();
        f.answer.push_back(ms(t));
        if (!duringSave) {
            onDisk(w);
            f.disk.push_back(ms(t));
        }
    }
    if (duringSave) {
        saveHold->release();
        onDisk(w);
    }
    std::sort(f.answer.begin(), f.answer.end());
    std::sort(f.disk.begin(), f.disk.end());
    const double median = f.answer[f.answer.size() / 2];
    std::printf("%-36s window answers: best %8.3f  median %8.3f ms (%s)", what, f.answer.front(),
                median, median < 16 ? "within a frame" : "OVER 16 ms");
    if (f.disk.empty())
        std::printf("\n");
    else
        std::printf("   on disk: median %9.3f ms\n", f.disk[f.disk.size() / 2]);
}

void selectRow(TPhoneBook& w, int row) {
    auto* list = w.findChild<QTreeView*>(QStringLiteral("lvBook"));
    list->selectionModel()->select(w.rows().index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void benchBook() {
    {
        BookStore book;
        fillBook(book);
        if (!book.SaveList(QString::fromLatin1(kBookFile))) std::abort();
    }
    ini() = TIni::defaults();
    ini().PhoneBookFile = QString::fromLatin1(kBookFile);
    TPhoneBook w;
    int added = 0;
    BookPrompts prompts;
    QString name;  // what the entry editor's OK writes: a new name each time
    prompts.exec = [&](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("eFIO"))->setText(name);
        if (auto* phone = d.findChild<QLineEdit*>(QStringLiteral("ePhone"));
            phone->text().isEmpty())
            phone->setText(QStringLiteral("7-%1").arg(++added));
        d.findChild<QPushButton*>(QStringLiteral("bOK"))->click();
        return d.result();
    };
    prompts.ask = [](const QString&, const QString&) { return QMessageBox::Yes; };
    prompts.warn = [](const QString&, const QString& text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    };
    w.setPrompts(prompts);
    w.show();
    QCoreApplication::processEvents();
    std::printf("book: %d entries in %d groups, file %lld bytes\n", w.store().count(),
                w.store().groupCount() - 1,
                (long long)QFileInfo(QString::fromLatin1(kBookFile)).size());
    int n = 0;
    const auto middle = [&w] { selectRow(w, w.rows().count() / 2); };
    measure(
        "book: add", w, [&] { name = QStringLiteral("Новый %1").arg(++n); },
        [&] { w.sbAddClick(); });
    measure(
        "book: edit", w,
        [&] {
            middle();
            name = QStringLiteral("Изменённый %1").arg(++n);
        },
        [&] { w.sbPropClick(); });
    measure("book: delete", w, middle, [&] { w.sbDelClick(); });
    measure("book: move to a group", w, middle, [&] { w.SetGroup(++n % kGroups + 1); });
    measure("book: status", w, middle, [&] { w.SetStatus(++n % 3); });
    measure(
        "book: add, save running", w, [&] { name = QStringLiteral("Новый %1").arg(++n); },
        [&] { w.sbAddClick(); }, true);
    measure(
        "book: edit, save running", w,
        [&] {
            middle();
            name = QStringLiteral("Изменённый %1").arg(++n);
        },
        [&] { w.sbPropClick(); }, true);
    measure(
        "book: delete, save running", w, middle, [&] { w.sbDelClick(); }, true);
    measure(
        "book: move to a group, save running", w, middle, [&] { w.SetGroup(++n % kGroups + 1); },
        true);
    measure(
        "book: status, save running", w, middle, [&] { w.SetStatus(++n % 3); }, true);
    // Of each book command's figure, the copy of the book handed to the worker.
    std::vector<double> copies;
    for (int r = 0; r < kRuns; ++r) {
        QElapsedTimer t;
        t.start();
        const BookStore copy = w.store();
        copies.push_back(ms(t));
    }
    std::sort(copies.begin(), copies.end());
    std::printf("%-36s the book's copy alone: best %8.3f  median %8.3f ms\n",
                "book:", copies.front(), copies[copies.size() / 2]);
    w.close();
}

struct QuietHost final : ReminderHost {
    void reminderListClosed() override {}
    void playReminderSound(const QString&) override {}
};

void benchReminders() {
    const QDateTime now(QDate(2026, 6, 1), QTime(12, 0));
    setClockForTesting([now] { return now; });
    QList<ReminderRecord> records;
    for (int i = 0; i < kReminders; ++i) {
        ReminderRecord r = ReminderRecord::empty();
        r.Note.setText(QStringLiteral("Напоминание номер %1\rвторая строка\r").arg(i));
        // Every other one by number, so that calls can raise them one by one.
        r.Kind = i % 2 ? ReminderByNumber : ReminderByDate;
        if (r.Kind == ReminderByNumber)
            r.Number.setText(QStringLiteral("555%1").arg(i, 5, 10, QLatin1Char('0')));
        else
            setDueTime(r, now.addDays(1 + i % 60));
        records.append(r);
    }
    SaveReminders(records);
    QuietHost host;
    ReminderDocument document;
    TAlertReminder alert;
    TReminder list(document, host, alert);
    std::printf("reminders: %d in the list\n", list.rows().count());
    ReminderRecord r = records.first();
    measure("reminders: add", list, {}, [&] { list.document().store(r, 0); });
    measure("reminders: edit", list, {},
            [&] { list.document().store(r, list.rows().row(list.rows().count() / 2).id); });
    int call = 1;
    measure("reminders: raise on a call", list, {}, [&] {
        list.document().raiseForNumber(QStringLiteral("555%1").arg(call, 5, 10, QLatin1Char('0')));
        call += 2;
    });
    alert.hide();
    setClockForTesting({});
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtDebugMsg && type != QtWarningMsg)
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    // The files live where the user's would: the current directory, or the one given.
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(base + QLatin1String("/bench-saves-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a directory in %s\n", qPrintable(base));
        return 1;
    }
    QDir::setCurrent(dir.path());
    SaveHold hold;
    saveHold = &hold;
    // As the program runs: window places and settings go to their worker. ZRK_SETTINGS_ON_UI=1
    // writes them on this thread, as before, for the comparison.
    const bool settingsOnUi = qEnvironmentVariableIntValue("ZRK_SETTINGS_ON_UI") == 1;
    RegistryFile::user().setSavesInBackground(!settingsOnUi);
    std::printf("settings and window places: saved %s\n",
                settingsOnUi ? "on the UI thread" : "by their worker");
    const QByteArray slow = qgetenv("ZRK_SLOW_MS");
    std::printf("medium: %s, in %s\n",
                qEnvironmentVariableIsSet("LD_PRELOAD")
                    ? qPrintable(QStringLiteral("every sync %1 ms late")
                                     .arg(slow.isEmpty() ? QStringLiteral("500")
                                                         : QString::fromLatin1(slow)))
                    : "as it is",
                qPrintable(base));
    benchBook();
    benchReminders();
    return 0;
}

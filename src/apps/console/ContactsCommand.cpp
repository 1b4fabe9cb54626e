#include "apps/console/ContactsCommand.h"

#include "core/book/BookDocument.h"
#include "core/book/BookStore.h"
#include "core/contacts/ContactSyncer.h"
#include "core/contacts/ImportPlan.h"
#include "core/contacts/SyncAccount.h"
#include "core/platform/DataDirectory.h"
#include "core/platform/SafeFile.h"
#include "core/platform/SingleInstance.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <numeric>

namespace zrk {

const char* const kContactsUsage = QT_TRANSLATE_NOOP(
    "zrk::Console",
    "  --import-contacts ФАЙЛ [--group ГРУППА]\n"
    "                      добавить в телефонную книгу контакты из ФАЙЛА .vcf или .csv\n"
    "                      (записи с номерами, которые уже есть в книге, пропускаются)\n"
    "  --export-contacts ФАЙЛ\n"
    "                      записать всю телефонную книгу в ФАЙЛ .vcf (vCard) или .csv\n"
    "  --sync-contacts     синхронизировать телефонную книгу с адресной книгой CardDAV\n"
    "                      из настроек и выйти\n"
    "Коды выхода этих команд: 0 — сделано (что пропущено, сказано в выводе); 1 — файл\n"
    "или книгу не удалось прочитать или записать (файл не vCard и не таблица CSV), или\n"
    "сервер адресной книги недоступен; 2 — ошибка в командной строке; 3 — с каталогом\n"
    "данных работает программа.\n");

namespace {

void say(FILE* to, const QString& text) {
    std::fprintf(to, "%s\n", text.toLocal8Bit().constData());
}

enum class Kind { VCard, Csv, Unknown };

Kind kindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard")) return Kind::VCard;
    if (suffix == QLatin1String("csv")) return Kind::Csv;
    return Kind::Unknown;
}

int exportBook(const BookStore& book, const QString& path) {
    const Kind kind = kindOf(path);
    if (kind == Kind::Unknown) {
        say(stderr,
            QCoreApplication::translate(
                "zrk::Console", "Формат файла %1 не понятен по расширению: нужно .vcf или .csv.")
                .arg(path));
        return 2;
    }
    std::vector<int> all(size_t(book.count()));
    std::iota(all.begin(), all.end(), 0);
    const QByteArray data = kind == Kind::VCard ? contacts::writeVCards(book, all)
                                                : contacts::writeGoogleCsv(book, all);
    FileError error;
    if (!replaceFileAtomically(path, data, &error)) {
        say(stderr, QCoreApplication::translate("zrk::Console", "Не удалось записать %1: %2")
                        .arg(path, error.message));
        return 1;
    }
    say(stdout, QCoreApplication::translate("zrk::Console", "Записей выгружено: %n (%1).", nullptr,
                                            book.count())
                    .arg(path));
    return 0;
}

int importContacts(BookStore& book, const QString& path, const QString& group) {
    const contacts::LoadedContacts loaded = contacts::loadContactsFile(path);
    if (!loaded.result.ok) {
        say(stderr, loaded.result.error);
        return 1;
    }
    if (loaded.result.skipped > 0)
        say(stderr, QCoreApplication::translate("zrk::Console",
                                                "Пропущено повреждённых карточек: %n (первая — %1)",
                                                nullptr, loaded.result.skipped)
                        .arg(loaded.result.error));
    contacts::ImportOptions options;
    options.forcedGroup = group;
    const QList<contacts::ImportRow> rows =
        contacts::planImport(loaded.result.contacts, book, options);
    const contacts::ImportCounts n = contacts::applyImport(book, rows);
    if (n.added + n.replaced > 0 || n.groupsMade > 0) {
        FileError error;
        if (!book.SaveList(&error)) {
            say(stderr, error.message);
            return 1;
        }
    }
    say(stdout, QCoreApplication::translate("zrk::Console",
                                            "Добавлено записей: %1; пропущено (номер уже есть в "
                                            "книге): %2; создано групп: %3.")
                    .arg(n.added)
                    .arg(n.skipped)
                    .arg(n.groupsMade));
    for (const QString& note : contacts::notesText(contacts::readNotes(loaded.result), rows))
        say(stdout, note);
    return 0;
}

// One sync on this thread: the client's requests wait in local event loops.
int syncContacts() {
    QString problem;
    const std::optional<dav::Account> account = contacts::syncAccount(ini(), &problem);
    if (!account) {
        say(stderr, problem);
        return 1;
    }
    BookDocument document;
    if (document.loadFailed()) return 1;
    document.store().assignIds();
    contacts::SyncJob job;
    job.book = document.store();
    job.state = contacts::SyncState::load(document.syncState());
    job.group = ini().CardDavGroup;
    job.account = *account;
    job.conflictFile = contacts::ContactSyncer::conflictFile();
    contacts::SyncResult result = contacts::runSync(job);
    contacts::applySync(document.store(), result);
    document.setSyncState(result.state.save());
    document.save();
    Failures failures = document.close();
    if (!result.conflictProblem.isEmpty())
        failures << Failure::make(Failure::Kind::File, result.conflictProblem);
    if (!failures.isEmpty()) say(stderr, failureLines(failures).trimmed());
    if (result.error) {
        say(stderr, QCoreApplication::translate("zrk::ContactSync",
                                                "Адресная книга не синхронизирована: %1")
                        .arg(result.error->text));
        return 1;
    }
    say(stdout, contacts::syncSummary(result.counts));
    return failures.isEmpty() ? 0 : 1;
}

}  // namespace

ContactsCommand takeContactsOptions(int& argc, char** argv) {
    ContactsCommand c;
    c.error = takeOptions(argc, argv,
                          {{"--import-contacts", &c.importFile},
                           {"--export-contacts", &c.exportFile},
                           {"--group", &c.group},
                           {"--sync-contacts", nullptr, &c.sync}});
    if (c.error.isEmpty() &&
        int(!c.importFile.isEmpty()) + int(!c.exportFile.isEmpty()) + int(c.sync) > 1)
        c.error = QCoreApplication::translate(
            "zrk::Console",
            "--import-contacts, --export-contacts и --sync-contacts вместе не бывают.");
    if (c.error.isEmpty() && !c.group.isEmpty() && c.importFile.isEmpty())
        c.error = QCoreApplication::translate("zrk::Console",
                                              "--group бывает только с --import-contacts.");
    if (!c.importFile.isEmpty()) c.importFile = QFileInfo(c.importFile).absoluteFilePath();
    if (!c.exportFile.isEmpty()) c.exportFile = QFileInfo(c.exportFile).absoluteFilePath();
    return c;
}

int runContactsCommand(const ContactsCommand& command, const StartOptions& options) {
    QString error;
    if (!options.dataDir.isEmpty() && !enterDataDirectory(options.dataDir, &error)) {
        say(stderr, error);
        return 1;
    }
    // One writer per data directory: the running program would save its own book over ours.
    SingleInstance instance(QDir::currentPath());
    if (instance.state() == SingleInstance::AnotherRuns) {
        say(stderr, QCoreApplication::translate("zrk::Console",
                                                "Zrk Pro работает с каталогом данных %1. Закройте "
                                                "программу и повторите команду.")
                        .arg(QDir::currentPath()));
        return 3;
    }
    if (!instance.problem().isEmpty()) say(stderr, instance.problem());
    try {
        LoadSettings(ini());
    } catch (...) {
        // A damaged value keeps its default; the book's file name is read all the same.
    }
    if (command.sync) return syncContacts();
    BookStore book;
    book.load();
    if (!command.exportFile.isEmpty()) {
        // The cards' UIDs: the entries' identities where the book has them.
        readBookSide(ini().PhoneBookFile, book);
        return exportBook(book, command.exportFile);
    }
    return importContacts(book, command.importFile, command.group);
}

}  // namespace zrk

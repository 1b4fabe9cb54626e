#include "apps/console/Console.h"

#include "apps/console/ContactsCommand.h"
#include "apps/console/Language.h"
#include "core/platform/DataDirectory.h"
#include "core/platform/Registry.h"
#include "core/settings/RegImport.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

namespace zrk {

namespace {

void say(FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
}

// --import-reg: the settings of a Windows installation merged into the user's.
int importSettings(const QString& file) {
    const ImportResult r = importRegistryExport(file, RegistryFile::user());
    say(r.ok ? stdout : stderr, r.message + QLatin1Char('\n'));
    if (r.ok)
        say(stdout, QCoreApplication::translate(
                        "zrk::Console",
                        "Файлы book.phn и reminder.rmd из Windows переносить не нужно: "
                        "их формат тот же, достаточно скопировать их в каталог данных.") +
                        QLatin1Char('\n'));
    return r.ok ? 0 : 1;
}

}  // namespace

bool isConsoleCommand(const StartOptions& options, const ContactsCommand& contacts) {
    return options.help || !options.error.isEmpty() || !options.importFile.isEmpty() ||
           contacts.any();
}

int runConsoleCommand(int argc, char** argv) {
    // Read from a copy: the application keeps the command line as it was given.
    std::vector<char*> line(argv, argv + argc + 1);
    QCoreApplication core(argc, argv);
    installConsoleLanguage();
    // Read again now that its mistakes can be told in the user's language.
    int count = argc;
    const ContactsCommand contacts = takeContactsOptions(count, line.data());
    StartOptions options = takeStartOptions(count, line.data());
    if (options.error.isEmpty()) options.error = contacts.error;
    if (options.help || !options.error.isEmpty()) {
        FILE* to = options.help ? stdout : stderr;
        if (!options.error.isEmpty()) say(stderr, options.error + QLatin1Char('\n'));
        say(to, QCoreApplication::translate("zrk::Console", kUsage));
        say(to, QCoreApplication::translate("zrk::Console", kContactsUsage));
        // Said after all the options: it is about the first group only.
        say(to, QCoreApplication::translate("zrk::Console", kUsageNote));
        return options.help ? 0 : 2;
    }
    if (!options.importFile.isEmpty()) return importSettings(options.importFile);
    return runContactsCommand(contacts, options);
}

}  // namespace zrk

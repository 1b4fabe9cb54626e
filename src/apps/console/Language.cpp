#include "apps/console/Language.h"

#include "core/platform/Registry.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <cstdio>

namespace zrk {

namespace {

// "ru_RU.UTF-8", "ru-RU" and "ru" all say Russian.
QString languagePart(const QString& name) {
    const qsizetype end = name.indexOf(QRegularExpression(QStringLiteral("[-_.@]")));
    return (end < 0 ? name : name.left(end)).toLower();
}

bool spoken(const QString& language) {
    return language == QLatin1String(kLanguageRussian) ||
           language == QLatin1String(kLanguageEnglish);
}

}  // namespace

QString chooseLanguage(const QString& setting, const QStringList& uiLanguages) {
    if (spoken(setting)) return setting;
    for (const QString& wanted : uiLanguages) {
        const QString language = languagePart(wanted);
        if (spoken(language)) return language;
    }
    return QLatin1String(kLanguageEnglish);
}

bool installLanguage(const QString& wanted, const QStringList& dirs, QString* problem) {
    auto* app = QCoreApplication::instance();
    // A language installed again replaces the one before, not piles up on it.
    for (QTranslator* before : app->findChildren<QTranslator*>(QStringLiteral("zrk-language"),
                                                               Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(before);
        delete before;
    }
    QString language = wanted;
    bool loaded = true;
    if (language != QLatin1String(kLanguageRussian)) {  // Russian is the texts' own language
        auto* ours = new QTranslator(app);
        ours->setObjectName(QStringLiteral("zrk-language"));
        loaded = false;
        for (const QString& dir : dirs) {
            if (ours->load(QLatin1String("zrk-pro_") + language, dir)) {
                QCoreApplication::installTranslator(ours);
                loaded = true;
                break;
            }
        }
        if (!loaded) {
            delete ours;
            if (problem)
                *problem = QStringLiteral("zrk-pro_%1.qm not found in %2")
                               .arg(language, dirs.join(QLatin1String(", ")));
            // Dates and buttons in the language the windows then speak.
            language = QLatin1String(kLanguageRussian);
        }
    }

    auto* qt = new QTranslator(app);
    qt->setObjectName(QStringLiteral("zrk-language"));
    if (qt->load(QLatin1String("qtbase_") + language,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;  // Qt's own buttons stay English

    // The system's own formats where it speaks the same language (en_GB keeps its dates).
    const QLocale system = QLocale::system();
    QLocale::setDefault(languagePart(system.name()) == language
                            ? system
                            : QLocale(language == QLatin1String(kLanguageRussian)
                                          ? QStringLiteral("ru_RU")
                                          : QStringLiteral("en_US")));
    return loaded;
}

QStringList translationDirs() {
    const QString here = QCoreApplication::applicationDirPath();
    return {here + QLatin1String("/" ZRK_TRANSLATIONS_DIR), here};
}

QString storedLanguage(const QString& storePath) {
    QFile f(storePath);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QList<RegKeyData> keys;
    QString why;
    if (!RegistryFile::parse(f.readAll(), &keys, &why)) return {};
    // Read as the program reads it, the user's branch alone.
    keys.removeIf([](const RegKeyData& k) { return !sameName(k.root, kUserRoot); });
    TIni ini;
    try {
        LoadSettings(ini, keys);
    } catch (const ERegistryException&) {
        // A bad value elsewhere keeps its default; the language is read all the same.
    }
    return ini.Language;
}

void installChosenLanguage(const QString& stored) {
    QString problem;
    if (!installLanguage(chooseLanguage(stored, QLocale::system().uiLanguages()), translationDirs(),
                         &problem))
        std::fprintf(stderr, "%s\n", problem.toLocal8Bit().constData());
}

void installConsoleLanguage() {
    installChosenLanguage(storedLanguage(RegistryFile::userPath()));
}

}  // namespace zrk

#include "core/settings/Settings.h"

#include "core/platform/Registry.h"

#include <QCoreApplication>

#include <functional>
#include <optional>

namespace zrk {
namespace {

const QString kRoot = QString::fromLatin1(kSettingsRoot);
const char* const kCopyright = "Zrk Pro for the Linux desktop. Free to use and to pass on.";

// Stored as written here whatever the language; translated only to be shown.
const char* const kCategories[] = {
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[квартира, учреждение]|Абоненты квартирные, учрежденческие, имеющие право "
                      "междугородной и международной связи на общих основаниях"),
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[гостиница]|Абоненты гостиниц, имеющие право по категории 1, но с "
                      "немедленной оплатой переговоров"),
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[без межгорода]|Абоненты не имеющие право выхода на междугородные и "
                      "международные сети"),
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[приоритетный на межгород]|Абоненты, имеющие преимущество выхода на "
                      "междугородние и международные сети"),
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[бесплатники]|Абоненты, имеющие право связи без тарификации, то есть "
                      "переговоры не оплачиваются, но учитываются"),
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[автомат-межгород]|Категория междугородних телефонов-автоматов"),
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[с дополнительными услугами]|Абоненты, имеющие право кроме "
                      "междугородной/международной связи, получать дополнительные платные "
                      "услуги"),
    QT_TRANSLATE_NOOP("zrk::Defaults",
                      "[приоритетный с доп.услугами]|Абоненты, имеющие преимущество при "
                      "установлении связи в междугородних сетях и право на платные услуги"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "[телефон-автомат]|Категория городских телефонов-автоматов"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "[неизвестно]"),
};
const char* const kNotes[] = {
    QT_TRANSLATE_NOOP("zrk::Defaults", "Обед|Сходить на обед"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "Совещание|Бегом к начальнику"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "Перезвонить|Перезвонить"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "Встретить подругу|Встреча на лавочке"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "Пить пиво|Пить пиво с друзьями"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "Выгулять собаку|Собачка хочет пи-пи :))"),
    QT_TRANSLATE_NOOP("zrk::Defaults", "Выключить чайник|У тебя там чайник на плите"),
};

template <size_t N>
std::array<QString, N> texts(const char* const (&sources)[N]) {
    std::array<QString, N> out;
    for (size_t i = 0; i < N; ++i) out[i] = QString::fromUtf8(sources[i]);
    return out;
}

// One stored value: its name, how it is read into the record and how it is written from it.
struct Item {
    QString name;
    std::function<void(const RegKey&, TIni&)> read;
    std::function<void(RegKey&, const TIni&)> write;
};

Item boolItem(const char* name, bool TIni::*f) {
    const QString n = QString::fromUtf8(name);
    return {n, [n, f](const RegKey& k, TIni& i) { i.*f = k.readBool(n); },
            [n, f](RegKey& k, const TIni& i) { k.writeBool(n, i.*f); }};
}
Item intItem(const char* name, qint32 TIni::*f) {
    const QString n = QString::fromUtf8(name);
    return {n, [n, f](const RegKey& k, TIni& i) { i.*f = k.readInteger(n); },
            [n, f](RegKey& k, const TIni& i) { k.writeInteger(n, i.*f); }};
}
Item colorItem(const char* name, quint32 TIni::*f) {
    const QString n = QString::fromUtf8(name);
    return {n, [n, f](const RegKey& k, TIni& i) { i.*f = quint32(k.readInteger(n)); },
            [n, f](RegKey& k, const TIni& i) { k.writeInteger(n, qint32(i.*f)); }};
}
Item textItem(const char* name, QString TIni::*f) {
    const QString n = QString::fromUtf8(name);
    return {n, [n, f](const RegKey& k, TIni& i) { i.*f = k.readString(n); },
            [n, f](RegKey& k, const TIni& i) { k.writeString(n, i.*f); }};
}
Item timeItem(const char* name, double TIni::*f) {
    const QString n = QString::fromUtf8(name);
    return {n, [n, f](const RegKey& k, TIni& i) { i.*f = k.readTime(n); },
            [n, f](RegKey& k, const TIni& i) { k.writeTime(n, i.*f); }};
}
Item writeOnly(const char* name, const char* value) {
    const QString n = QString::fromUtf8(name);
    const QString v = QString::fromUtf8(value);
    return {n, nullptr, [n, v](RegKey& k, const TIni&) { k.writeString(n, v); }};
}

struct Key {
    QString path;
    QList<Item> items;
};

// The keys and their values in the order they are read and written.
const QList<Key>& layout() {
    static const QList<Key> keys = [] {
        QList<Key> k;
        k.append({kRoot,
                  {writeOnly("Version", kProgramVersion), writeOnly("Copyright", kCopyright),
                   boolItem("StayOnTop", &TIni::StayOnTop), boolItem("Minimized", &TIni::Minimized),
                   boolItem("Popup On Call", &TIni::PopupOnCall), boolItem("Buttons", &TIni::Buttons),
                   boolItem("Screen", &TIni::Screen), boolItem("Clock", &TIni::Clock),
                   boolItem("Timer", &TIni::Timer), boolItem("Double Click", &TIni::DoubleClick),
                   boolItem("Play WAV", &TIni::PlayWAV),
                   textItem("WAV File on Ring", &TIni::WAVFileOnRing),
                   textItem("Reminder Sound", &TIni::ReminderSound),
                   textItem("Log File", &TIni::LogFile),
                   intItem("Digits in phone number", &TIni::DigitsInPhoneNumber),
                   textItem("Separator of groups", &TIni::SeparatorOfGroups),
                   intItem("Digits in group", &TIni::DigitsInGroup),
                   boolItem("Phone Book", &TIni::PhoneBook),
                   textItem("Phone Book File", &TIni::PhoneBookFile), boolItem("Sound", &TIni::Sound),
                   intItem("Group", &TIni::Group)}});
        k.append({kRoot + QLatin1String("Modem"),
                  {intItem("Port", &TIni::Port), intItem("Baud", &TIni::Baud),
                   intItem("Answer On Ring", &TIni::AnswerOnRing), intItem("Prefix", &TIni::Prefix),
                   textItem("Init", &TIni::Init), textItem("Zrk", &TIni::Zrk),
                   textItem("HandUp", &TIni::HandUp), textItem("CallerID", &TIni::CallerID),
                   boolItem("ReDial", &TIni::ReDial), intItem("ReDialTry", &TIni::ReDialTry),
                   intItem("ReDialWait", &TIni::ReDialWait)}});
        k.append({kRoot + QLatin1String("Action"),
                  {intItem("On Normal", &TIni::OnNormal), intItem("On Bad", &TIni::OnBad),
                   intItem("On Prior", &TIni::OnPrior),
                   textItem("Sound on Normal", &TIni::SoundOnNormal),
                   textItem("Sound on Bad", &TIni::SoundOnBad),
                   textItem("Sound on Prior", &TIni::SoundOnPrior)}});
        k.append({kRoot + QLatin1String("Fonts"),
                  {textItem("Number Font", &TIni::NumberFont),
                   textItem("Counter Font", &TIni::CounterFont), textItem("Info Font", &TIni::InfoFont),
                   intItem("Number Size", &TIni::NumberSize), intItem("Counter Size", &TIni::CounterSize),
                   intItem("Info Size", &TIni::InfoSize),
                   colorItem("Background Color", &TIni::BackgroundColor),
                   colorItem("Number Color", &TIni::NumberColor),
                   colorItem("Counter Color", &TIni::CounterColor),
                   colorItem("Info Color", &TIni::InfoColor),
                   colorItem("Not Active Color", &TIni::NotActiveColor)}});
        Key categories{kRoot + QLatin1String("Categories"), {}};
        for (int i = 0; i < 10; ++i) {
            const QString n = QStringLiteral("%1:").arg((i + 1) % 10);
            categories.items.append({n, [n, i](const RegKey& r, TIni& s) { s.Categories[i] = r.readString(n); },
                                     [n, i](RegKey& r, const TIni& s) { r.writeString(n, s.Categories[i]); }});
        }
        k.append(categories);
        Key notes{kRoot + QLatin1String("Reminder Notes"), {}};
        for (int i = 0; i < 7; ++i) {
            const QString n = QStringLiteral("%1:").arg(i + 1);
            notes.items.append({n, [n, i](const RegKey& r, TIni& s) { s.Notes[i] = r.readString(n); },
                                [n, i](RegKey& r, const TIni& s) { r.writeString(n, s.Notes[i]); }});
        }
        k.append(notes);
        k.append({kRoot + QLatin1String("Scheduler"),
                  {boolItem("Port OnOff", &TIni::PortOnOff), boolItem("Sound OnOff", &TIni::SoundOnOff),
                   timeItem("Port Off", &TIni::PortOff), timeItem("Port On", &TIni::PortOn),
                   timeItem("Sound Off", &TIni::SoundOff), timeItem("Sound On", &TIni::SoundOn)}});
        Key columns{kRoot + QLatin1String("Book Columns"), {}};
        for (int i = 0; i < 8; ++i) {
            const QString n = QStringLiteral("Column%1").arg(i);
            columns.items.append({n, [n, i](const RegKey& r, TIni& s) { s.Columns[i] = r.readBool(n); },
                                  [n, i](RegKey& r, const TIni& s) { r.writeBool(n, s.Columns[i]); }});
        }
        k.append(columns);
        k.append({kRoot + QLatin1String("Network"),
                  {textItem("NCID Server", &TIni::NcidServer), boolItem("Send Calls", &TIni::SendCalls),
                   boolItem("Receive Calls", &TIni::ReceiveCalls),
                   textItem("Line Label", &TIni::LineLabel)}});
        k.append({kRoot + QLatin1String("Notifications"), {intItem("Show", &TIni::Notifications)}});
        k.append({kRoot + QLatin1String("CardDAV"),
                  {textItem("URL", &TIni::CardDavUrl), textItem("User", &TIni::CardDavUser),
                   textItem("Password File", &TIni::CardDavPasswordFile),
                   textItem("Group", &TIni::CardDavGroup), intItem("Interval", &TIni::CardDavInterval),
                   boolItem("Allow HTTP", &TIni::CardDavAllowHttp)}});
        k.append({kRoot + QLatin1String("Language"), {textItem("Language", &TIni::Language)}});
        return k;
    }();
    return keys;
}

const QString kCallActions = kRoot + QLatin1String("Call Actions\\");

// The actions are keys "0", "1", ... under "Call Actions", read up to the first number missing.
// A value of a wrong type keeps its default, as any other setting does.
void readCallActions(TIni& ini, RegistryFile& store,
                     std::optional<ERegistryException>& firstError) {
    RegKey reg(store);
    for (int n = 0; reg.openKeyReadOnly(kCallActions + QString::number(n)); ++n) {
        CallActionSpec a;
        const auto take = [&](const QString& value, auto read) {
            if (!reg.valueExists(value)) return;
            try {
                read(value);
            } catch (const ERegistryException& e) {
                if (!firstError) firstError = e;
            }
        };
        take(QStringLiteral("Event"), [&](const QString& v) { a.event = reg.readString(v); });
        take(QStringLiteral("Kind"), [&](const QString& v) { a.kind = reg.readString(v); });
        take(QStringLiteral("Template"), [&](const QString& v) { a.templ = reg.readString(v); });
        take(QStringLiteral("Program"), [&](const QString& v) { a.program = reg.readString(v); });
        for (int i = 1; reg.valueExists(QStringLiteral("Argument %1").arg(i)); ++i) {
            QString argument;  // one of a wrong type stays in its place, empty
            take(QStringLiteral("Argument %1").arg(i),
                 [&](const QString& v) { argument = reg.readString(v); });
            a.arguments.append(argument);
        }
        take(QStringLiteral("Statuses"), [&](const QString& v) { a.statuses = quint32(reg.readInteger(v)); });
        take(QStringLiteral("Group"), [&](const QString& v) { a.group = reg.readString(v); });
        take(QStringLiteral("Enabled"), [&](const QString& v) { a.enabled = reg.readBool(v); });
        ini.CallActions.append(a);
        reg.closeKey();
    }
}

// The list is written whole when it changed here (or nothing is known of the store): an action
// moved or removed renumbers the keys after it. Keys and arguments past the end are removed.
void writeCallActions(const TIni& ini, const TIni* before, RegistryFile& store) {
    if (before && before->CallActions == ini.CallActions) return;
    RegKey reg(store);
    const QList<CallActionSpec>& list = ini.CallActions;
    for (int n = 0; n < list.size(); ++n) {
        const CallActionSpec& a = list[n];
        if (!reg.openKey(kCallActions + QString::number(n), true)) continue;
        reg.writeString(QStringLiteral("Event"), a.event);
        reg.writeString(QStringLiteral("Kind"), a.kind);
        reg.writeString(QStringLiteral("Template"), a.templ);
        reg.writeString(QStringLiteral("Program"), a.program);
        for (int i = 0; i < a.arguments.size(); ++i)
            reg.writeString(QStringLiteral("Argument %1").arg(i + 1), a.arguments[i]);
        for (qsizetype i = a.arguments.size() + 1;
             reg.deleteValue(QStringLiteral("Argument %1").arg(i)); ++i) {
        }
        reg.writeInteger(QStringLiteral("Statuses"), qint32(a.statuses));
        reg.writeString(QStringLiteral("Group"), a.group);
        reg.writeBool(QStringLiteral("Enabled"), a.enabled);
        reg.closeKey();
    }
    for (qsizetype n = list.size(); reg.openKey(kCallActions + QString::number(n), false); ++n) {
        // Its values first: that is what makes the key's removal a change to be saved.
        for (const QString& name : reg.valueNames()) reg.deleteValue(name);
        store.deleteKey(kCallActions + QString::number(n));
        reg.closeKey();
    }
}

// The record as this program last read or saved it, and the read of the store it belongs to:
// a save writes what the program changed since, and leaves every other value to whatever the
// file holds by then (another program's change).
struct Known {
    TIni record;
    quint64 store = 0;
};
std::optional<Known>& known() {
    static std::optional<Known> k;
    return k;
}

// The value `item` writes for `ini`.
RegValue written(const Item& item, const TIni& ini, const QString& keyPath) {
    RegistryFile scratch{QString()};
    {
        RegKey reg(scratch);
        reg.openKey(keyPath, true);
        item.write(reg, ini);
    }  // its save fails quietly: the scratch store has no file
    const RegValue* v = scratch.findKey(keyPath)->find(item.name);
    return v ? *v : RegValue{};
}

bool same(const RegValue& a, const RegValue& b) {
    return a.type == b.type && a.text == b.text && a.dword == b.dword && a.bytes == b.bytes;
}

}  // namespace

std::array<QString, 10> defaultCategories() { return texts(kCategories); }
std::array<QString, 7> defaultNotes() { return texts(kNotes); }

QString shownSetting(const QString& stored) {
    const auto find = [&stored](const auto& table) -> const char* {
        for (const char* source : table)
            if (stored == QString::fromUtf8(source)) return source;
        return nullptr;
    };
    const char* source = find(kCategories);
    if (!source) source = find(kNotes);
    return source ? QCoreApplication::translate("zrk::Defaults", source) : stored;
}

QString editedSetting(const QString& stored, const QString& edited) {
    return edited == shownSetting(stored) ? stored : edited;
}

TIni& ini() {
    static TIni record = TIni::defaults();
    return record;
}

void LoadSettings(TIni& ini) {
    RegistryFile& store = RegistryFile::user();
    try {
        LoadSettings(ini, store);
    } catch (const ERegistryException&) {
        known() = Known{ini, store.serial()};
        throw;
    }
    known() = Known{ini, store.serial()};
}

void LoadSettings(TIni& ini, RegistryFile& store) {
    ini = TIni::defaults();
    // A bad value must not cost the user every value after it (they would be lost at the
    // next save): it keeps its default, the rest loads, and the first error is raised last.
    std::optional<ERegistryException> firstError;
    RegKey reg(store);
    for (const Key& key : layout()) {
        if (!reg.openKeyReadOnly(key.path)) continue;
        for (const Item& item : key.items) {
            if (!item.read || !reg.valueExists(item.name)) continue;
            try {
                item.read(reg, ini);
            } catch (const ERegistryException& e) {
                if (!firstError) firstError = e;
            }
        }
        reg.closeKey();
    }
    readCallActions(ini, store, firstError);
    if (firstError) throw *firstError;
}

void LoadSettings(TIni& ini, const QList<RegKeyData>& keys) {
    RegistryFile copy{QString()};
    for (const RegKeyData& k : keys)
        if (RegKeyData* into = copy.createKey(k.path)) into->values = k.values;
    LoadSettings(ini, copy);
}

void SaveSettings(const TIni& ini) {
    RegistryFile& store = RegistryFile::user();
    const TIni* before = known() && known()->store == store.serial() ? &known()->record : nullptr;
    RegKey reg(store);
    for (const Key& key : layout()) {
        if (!reg.openKey(key.path, true)) continue;
        for (const Item& item : key.items) {
            if (!before) {
                item.write(reg, ini);
                continue;
            }
            const RegValue now = written(item, ini, key.path);
            if (!same(now, written(item, *before, key.path))) {
                item.write(reg, ini);  // changed here: it wins
                continue;
            }
            // Unchanged here: a value the store holds stays, whoever put it there, unless it
            // is of a wrong type or means what we hold (written back in our form: a true of 5
            // becomes 1); a value it lacks is filled in where the file still lacks it.
            const RegValue* held = store.findKey(key.path)->find(item.name);
            if (held && same(*held, now)) continue;
            if (held && item.read) {
                try {
                    TIni probe = ini;
                    item.read(reg, probe);
                    if (!same(written(item, probe, key.path), now)) continue;
                } catch (const ERegistryException&) {
                }
            }
            item.write(reg, ini);
            if (!held) reg.markAsDefault(item.name);
        }
        reg.closeKey();
    }
    writeCallActions(ini, before, store);
    known() = Known{ini, store.serial()};
}

}  // namespace zrk

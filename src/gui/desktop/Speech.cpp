#include "gui/desktop/Speech.h"

#include <QCoreApplication>
#include <QTextToSpeech>

namespace zrk {
namespace {

class DesktopSpeech : public actions::SpeechOutput {
public:
    explicit DesktopSpeech(const QLocale& language) : language_(language) {}

    void say(const QString& text) override {
        if (!engine_ && !start()) return;
        if (engine_->state() == QTextToSpeech::Speaking) engine_->stop();
        engine_->say(text);
    }
    void stop() override {
        if (engine_) engine_->stop();
    }

private:
    // The engine is loaded with the first text: a desk that never speaks never loads it.
    bool start() {
        if (failed_) return false;
        const QStringList engines = QTextToSpeech::availableEngines();
        if (engines.isEmpty()) {
            failed_ = true;
            tell(QCoreApplication::translate("zrk::Speech",
                                             "нет синтезатора речи (speech-dispatcher)"));
            return false;
        }
        const QString name = engines.contains(QLatin1String("speechd"))
                                 ? QStringLiteral("speechd")
                                 : engines.first();
        engine_ = std::make_unique<QTextToSpeech>(name);
        QObject::connect(engine_.get(), &QTextToSpeech::errorOccurred, engine_.get(),
                         [this](QTextToSpeech::ErrorReason, const QString& why) { tell(why); });
        if (engine_->state() == QTextToSpeech::Error) {
            tell(engine_->errorString());
            engine_.reset();
            failed_ = true;
            return false;
        }
        // A voice of the program's language; the engine's own choice where it has none.
        for (const QLocale& l : engine_->availableLocales())
            if (l.language() == language_.language()) {
                engine_->setLocale(l);
                break;
            }
        return true;
    }

    QLocale language_;
    std::unique_ptr<QTextToSpeech> engine_;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<actions::SpeechOutput> makeDesktopSpeech(const QLocale& language) {
    return std::make_unique<DesktopSpeech>(language);
}

}  // namespace zrk

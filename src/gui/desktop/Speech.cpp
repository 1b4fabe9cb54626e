#include "gui/desktop/Speech.h"

#include <QCoreApplication>
#include <QTextToSpeech>
#include <QThread>

namespace zrk {
namespace {

// The engine lives on a thread of its own: speech-dispatcher lists every voice it has (some
// thirteen thousand with espeak-ng) while the engine is made, and a call must not wait for it.
class DesktopSpeech : public actions::SpeechOutput {
public:
    explicit DesktopSpeech(const QLocale& language) : language_(language) {
        thread_.setObjectName(QStringLiteral("speech"));
        home_ = new QObject;  // what the thread's work is queued on
        home_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, home_, &QObject::deleteLater);
        thread_.start();
        // What goes wrong there is told here, on the thread that made this output.
        back_ = new QObject;
    }
    ~DesktopSpeech() override {
        QMetaObject::invokeMethod(
            home_, [this] { engine_.reset(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
        delete back_;
    }

    void say(const QString& text) override {
        QMetaObject::invokeMethod(home_, [this, text] {
            if (!engine_ && !start()) return;
            if (engine_->state() == QTextToSpeech::Speaking) engine_->stop();
            engine_->say(text);
        });
    }
    void stop() override {
        QMetaObject::invokeMethod(home_, [this] {
            if (engine_) engine_->stop();
        });
    }

private:
    void failed(const QString& why) {
        QMetaObject::invokeMethod(back_, [this, why] { tell(why); });
    }

    // On the speech thread, with the first text: a desk that never speaks never loads it.
    bool start() {
        if (broken_) return false;
        const QStringList engines = QTextToSpeech::availableEngines();
        if (engines.isEmpty()) {
            broken_ = true;
            failed(QCoreApplication::translate("zrk::Speech",
                                               "нет синтезатора речи (speech-dispatcher)"));
            return false;
        }
        const QString name = engines.contains(QLatin1String("speechd")) ? QStringLiteral("speechd")
                                                                        : engines.first();
        engine_ = std::make_unique<QTextToSpeech>(name);
        QObject::connect(engine_.get(), &QTextToSpeech::errorOccurred, engine_.get(),
                         [this](QTextToSpeech::ErrorReason, const QString& why) { failed(why); });
        if (engine_->state() == QTextToSpeech::Error) {
            failed(engine_->errorString());
            engine_.reset();
            broken_ = true;
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

    const QLocale language_;
    QThread thread_;
    QObject* home_ = nullptr;
    QObject* back_ = nullptr;
    // Touched on the speech thread only.
    std::unique_ptr<QTextToSpeech> engine_;
    bool broken_ = false;
};

}  // namespace

std::unique_ptr<actions::SpeechOutput> makeDesktopSpeech(const QLocale& language) {
    return std::make_unique<DesktopSpeech>(language);
}

}  // namespace zrk

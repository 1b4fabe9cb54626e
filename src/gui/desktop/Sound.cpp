#include "gui/desktop/Sound.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>

namespace zrk {
namespace {

class LazySound final : public Sound {
public:
    explicit LazySound(QStringList places) : places_(std::move(places)) {}

    void play(const QString& fileName) override {
        if (Sound* s = loaded()) s->play(fileName);
    }
    void stop() override {
        if (real_) real_->stop();  // nothing played yet: nothing to stop, nothing to load
    }
    void playSpeakerMelody(int times) override {
        if (Sound* s = loaded()) s->playSpeakerMelody(times);
    }

private:
    Sound* loaded() {
        if (real_ || tried_) return real_.get();
        tried_ = true;
        QStringList why;
        for (const QString& dir : places_) {
            // Never unloaded: the sound's objects and their code live as long as the program.
            QLibrary module(dir + QLatin1String("/libzrk-sound.so"));
            using Make = Sound* (*)();
            if (const auto make = reinterpret_cast<Make>(module.resolve("zrkMakeDesktopSound"))) {
                real_.reset(make());
                return real_.get();
            }
            why << module.errorString();
        }
        std::fprintf(stderr, "%s\n",
                     QCoreApplication::translate("zrk::Sound",
                                                 "Модуль звука не загружен, звуков не будет: %1")
                         .arg(why.join(QLatin1String("; ")))
                         .toLocal8Bit()
                         .constData());
        return nullptr;
    }

    QStringList places_;
    std::unique_ptr<Sound> real_;
    bool tried_ = false;
};

}  // namespace

QStringList soundModulePlaces() {
    const QString here = QCoreApplication::applicationDirPath();
    return {here, here + QLatin1String("/" ZRK_SOUND_MODULE_DIR)};
}

std::shared_ptr<Sound> makeDesktopSound(const QStringList& modulePlaces) {
    return std::make_shared<LazySound>(modulePlaces);
}

}  // namespace zrk

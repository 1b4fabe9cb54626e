// The desktop's sound output, in a module of its own: Qt Multimedia and the sound libraries
// under it are loaded with the first sound, not at every start (see makeDesktopSound()).
#include "gui/desktop/Sound.h"

#include "core/platform/Melody.h"

#include <QApplication>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace zrk {
namespace {

class DesktopSound final : public Sound {
public:
    void play(const QString& fileName) override {
        if (!hasOutput()) return;  // no sound device: silence, not an error
        const QFileInfo file(fileName);  // a relative name is taken from the working directory
        if (fileName.isEmpty() || !file.isFile()) {
            QApplication::beep();
            return;
        }
        if (!effect_) effect_ = std::make_unique<QSoundEffect>();
        effect_->stop();
        effect_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
        effect_->setLoopCount(1);
        effect_->play();
    }

    void stop() override {
        if (effect_) effect_->stop();
    }

    void playSpeakerMelody(int times) override {
        if (!hasOutput()) return;
        QAudioFormat format;
        format.setSampleRate(kRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (!device.isFormatSupported(format)) {
            QApplication::beep();
            return;
        }
        // The sink plays from its buffer on its own; the window goes on at once.
        sink_.reset();
        buffer_ = std::make_unique<QBuffer>();
        buffer_->setData(speakerMelodySamples(kRate, times));
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(buffer_.get());
    }

private:
    static constexpr int kRate = 22050;

    static bool hasOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

    std::unique_ptr<QSoundEffect> effect_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

}  // namespace
}  // namespace zrk

extern "C" Q_DECL_EXPORT zrk::Sound* zrkMakeDesktopSound() {
    return new zrk::DesktopSound;
}

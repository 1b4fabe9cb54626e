#include "platform/Sound.h"

#include <QApplication>

namespace zrk {
namespace {

// Until the sound output is wired, the desktop's alert stands in for every sound.
class BeepSound final : public Sound {
public:
    void play(const QString&) override { QApplication::beep(); }
    void stop() override {}
    void playSpeakerMelody(int) override { QApplication::beep(); }
};

}  // namespace

std::shared_ptr<Sound> makeDesktopSound() { return std::make_shared<BeepSound>(); }

}  // namespace zrk

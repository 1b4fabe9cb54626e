#pragma once
// The desktop's voice for call actions: Qt's text to speech (speech-dispatcher on Linux), in
// the program's language where the engine has a voice for it.
#include "core/call/CallActions.h"

#include <QLocale>

#include <memory>

namespace zrk {

// `language`: "ru", "en", or empty for the desktop's. A machine without a speech engine gives
// an output that says so once, at the first text.
std::unique_ptr<actions::SpeechOutput> makeDesktopSpeech(const QLocale& language);

}  // namespace zrk

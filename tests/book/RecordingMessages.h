#pragma once
// Records what the stores would have shown the user, instead of showing it.
#include "platform/UserMessages.h"

#include <QStringList>

namespace zrktest {

class RecordingMessages : public zrk::UserMessages {
public:
    RecordingMessages() : previous_(zrk::setUserMessages(this)) {}
    ~RecordingMessages() override { zrk::setUserMessages(previous_); }
    RecordingMessages(const RecordingMessages&) = delete;
    RecordingMessages& operator=(const RecordingMessages&) = delete;

    void error(const QString& caption, const QString& text) override {
        captions << caption;
        texts << text;
    }

    QStringList captions;
    QStringList texts;

private:
    zrk::UserMessages* previous_;
};

}  // namespace zrktest

#pragma once
// How the stores tell the user about a failure without knowing of any window: they hand a
// caption and a text to the current sink. The program installs a sink that shows a message
// box; until then (and in tools) the messages go to the standard error stream. Tests install
// a sink that records what would have been shown.
#include <QString>
#include <QStringList>

#include <cstdio>

namespace zrk {

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A failure the user must acknowledge (an error box with an OK button).
    virtual void error(const QString& caption, const QString& text) = 0;
};

namespace detail {

class StderrMessages final : public UserMessages {
public:
    void error(const QString& caption, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(),
                     text.toLocal8Bit().constData());
    }
};

inline UserMessages* stderrUserMessages() {
    static StderrMessages instance;
    return &instance;
}

inline UserMessages*& currentUserMessages() {
    static UserMessages* current = stderrUserMessages();
    return current;
}

}  // namespace detail

// The sink in force.
inline UserMessages& userMessages() {
    return *detail::currentUserMessages();
}

// Installs `sink` (nullptr: back to the standard error stream) and returns the one it
// replaces, so that a caller can put it back. The sink is not owned.
inline UserMessages* setUserMessages(UserMessages* sink) {
    UserMessages* old = detail::currentUserMessages();
    detail::currentUserMessages() = sink ? sink : detail::stderrUserMessages();
    return old;
}

// While it lives, the messages are added to a list instead of being shown: for a close
// that tells what failed in one go, or only on the standard error stream.
class CollectedMessages final : public UserMessages {
public:
    explicit CollectedMessages(QStringList& out) : out_(out), old_(setUserMessages(this)) {}
    ~CollectedMessages() override { release(); }
    CollectedMessages(const CollectedMessages&) = delete;
    CollectedMessages& operator=(const CollectedMessages&) = delete;

    void error(const QString&, const QString& text) override { out_.append(text); }
    // The sink before this one is back in force.
    void release() {
        if (released_) return;
        released_ = true;
        setUserMessages(old_);
    }

private:
    QStringList& out_;
    UserMessages* old_;
    bool released_ = false;
};

// The stores' file errors are all shown under this caption.
inline QString errorCaption() {
    return QStringLiteral("Ошибка");
}

inline void showError(const QString& text) {
    userMessages().error(errorCaption(), text);
}

}  // namespace zrk

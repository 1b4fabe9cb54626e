#include "gui/windows/URL.h"

#include "gui/desktop/DesktopShell.h"

namespace zrk {

QString urlPrefix(TURLType type) {
    static const char* const kPrefixes[] = {"file://", "ftp://", "gopher://", "http://", "https://",
                                            "mailto:", "news:",  "telnet:",   "wais:"};
    return type >= utFile && type < utNone ? QString::fromLatin1(kPrefixes[type]) : QString();
}

TURL::TURL(Opener opener) : opener_(opener ? std::move(opener) : Opener(&openUrl)) {}

bool TURL::OpenURL() const {
    if (URL.isEmpty()) return false;
    return opener_(address());
}

}  // namespace zrk

#include "windows/URL.h"

#include "platform/DesktopShell.h"

namespace zrk {

QString urlPrefix(TURLType type) {
    switch (type) {
        case utFile:
            return QStringLiteral("file://");
        case utFtp:
            return QStringLiteral("ftp://");
        case utGopher:
            return QStringLiteral("gopher://");
        case utHttp:
            return QStringLiteral("http://");
        case utHttps:
            return QStringLiteral("https://");
        case utMailto:
            return QStringLiteral("mailto:");
        case utNews:
            return QStringLiteral("news:");
        case utTelnet:
            return QStringLiteral("telnet:");
        case utWais:
            return QStringLiteral("wais:");
        case utNone:
            return {};
    }
    return {};
}

TURL::TURL(Opener opener) : opener_(opener ? std::move(opener) : Opener(&openUrl)) {}

bool TURL::OpenURL() const {
    if (URL.isEmpty()) return false;
    return opener_(address());
}

}  // namespace zrk

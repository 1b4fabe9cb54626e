#pragma once
// A link: an address without its scheme plus the scheme to put in front, opened by the
// desktop shell.
#include <QString>

#include <functional>

namespace zrk {

// utNone: the address carries a scheme of its own and is opened as it stands.
enum TURLType {
    utFile,
    utFtp,
    utGopher,
    utHttp,
    utHttps,
    utMailto,
    utNews,
    utTelnet,
    utWais,
    utNone
};

// "http://", "mailto:", ... for each type.
QString urlPrefix(TURLType type);

class TURL {
public:
    // Opens a full address; returns whether the desktop managed to.
    using Opener = std::function<bool(const QString&)>;

    // Without an opener the desktop's default handler is used.
    explicit TURL(Opener opener = {});

    QString URL;
    TURLType URLType = utHttp;

    // The address as handed to the shell: prefix and URL.
    QString address() const { return urlPrefix(URLType) + URL; }

    // False at once for an empty URL; otherwise whatever the shell reports.
    bool OpenURL() const;

private:
    Opener opener_;
};

}  // namespace zrk

#pragma once
// A CardDAV address book seen as raw vCards and their etags: find it, list it, fetch, write and
// delete cards, and ask what changed since a sync token. It knows nothing of the phone book.
//
// Every call blocks until the server has answered (a local event loop runs meanwhile), so it
// belongs on a worker thread: construct and use it on that one thread. `cancel`, set from any
// thread, ends the request in flight within about 100 ms.
//
// hrefs are paths as they go on the wire, in one spelling whichever way the server wrote them:
// a full URL is cut to its path, a relative one resolved, and each segment percent-encoded
// anew (see hrefFor), so the same card always has the same href.
//
// Etags are kept byte for byte as the server sent them and sent back so in If-Match. A weak
// etag (W/"...") is kept too: servers rarely give one for a card, and one that does will
// answer If-Match with 412, which the caller handles like any other conflict.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <atomic>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace zrk::dav {

struct Multistatus;

struct Account {
    QUrl url;  // the address book's URL, or only the server's (https://host/): then discovery
    QString user, password;
    // Plain http sends the password in the clear: refused unless the host is this machine
    // or the user asked for it.
    bool allowPlainHttp = false;
};

struct Error {
    enum class Kind {
        Network,         // no connection, a lost one, or no answer in time
        Tls,             // the certificate or the handshake failed
        Auth,            // the server refused the user name or password (401, 403)
        NotFound,        // 404 or 410
        NotAddressBook,  // the URL or the account holds no address book
        PlainHttp,       // an http URL to another machine without allowPlainHttp
        Precondition,    // 412: the card changed (or exists) on the server
        TokenRejected,   // the sync token is no longer valid: list everything instead
        Protocol,        // any other answer the client cannot use
        Cancelled,
    };
    Kind kind = Kind::Protocol;
    int httpStatus = 0;
    QString text;  // short, for the user
};

template <class T>
struct Result {
    std::optional<Error> error;
    T value{};
    explicit operator bool() const { return !error; }
};

struct Resource {
    QString href;
    QByteArray etag;
    QByteArray data;  // only from multiget() and get()
};

struct Changes {
    QList<Resource> changed;  // href and etag; fetch the cards with multiget()
    QStringList removed;
    QByteArray token;  // for the next call
};

class DavClient {
public:
    // hrefs a multiget asks for in one request.
    static constexpr int kMultigetBatch = 100;
    // Rounds of a truncated sync-collection report before the client gives up.
    static constexpr int kSyncRounds = 100;
    static constexpr int kTimeoutMs = 30000;

    explicit DavClient(Account account, const std::atomic<bool>* cancel = nullptr);
    ~DavClient();
    DavClient(const DavClient&) = delete;
    DavClient& operator=(const DavClient&) = delete;

    // Finds the address book: the account's URL if it is one, else through the server's
    // /.well-known/carddav, the user's principal and its address book home, taking the first
    // address book there. Learns its name and whether it offers sync-collection.
    std::optional<Error> discover();
    // The address book a previous discover() found, taken as it is: no request. A book that
    // has gone since answers the next call with NotFound.
    void useAddressBook(const QUrl& book, bool canSync) {
        book_ = book;
        canSync_ = canSync;
    }
    QUrl addressBook() const { return book_; }
    QString displayName() const { return displayName_; }
    bool canSyncCollection() const { return canSync_; }

    // What changed since `token` (empty: everything, as changes). A token the server no
    // longer knows gives TokenRejected: the caller lists everything with listEtags() then.
    Result<Changes> syncCollection(const QByteArray& token);
    // Every card of the address book with its etag (sub-collections left out).
    Result<QList<Resource>> listEtags();
    // The cards behind these hrefs, with etags, kMultigetBatch a request; hrefs the server
    // does not have are left out. The cards come inside XML, which folds CR LF to LF: their
    // line ends may differ from get()'s, which gives the bytes as stored.
    Result<QList<Resource>> multiget(const QStringList& hrefs);
    Result<Resource> get(const QString& href);
    // Writes a card: create=true only if none is there yet (If-None-Match: *), else only over
    // `etag` (If-Match; empty: unconditional). Returns the server's new etag, empty when it
    // gave none (then list or get the card to learn it). 412 -> Precondition.
    Result<QByteArray> put(const QString& href, const QByteArray& card, const QByteArray& etag,
                           bool create);
    // Deletes a card, only if still at `etag` (empty: whatever it is). A card already gone
    // counts as deleted; 412 -> Precondition.
    std::optional<Error> remove(const QString& href, const QByteArray& etag);
    // The href for a new card: the address book's path + name + ".vcf", the name
    // percent-encoded but for letters, digits and "-._~@". A slash or backslash becomes "_"
    // (servers take even an encoded slash for a folder), so two names may share an href:
    // put(create=true) then fails with Precondition.
    QString hrefFor(const QString& name) const;

private:
    struct Reply;
    struct Request;
    static Request propfind(const QUrl& url, const QByteArray& depth, const QByteArrayList& props);
    Reply send(const Request& request);
    // Sends a request answered with 207 Multi-Status and reads the answer into `m` (`from`:
    // where it came from after redirects); any other answer is an error.
    std::optional<Error> query(const Request& request, Multistatus& m, QUrl& from);
    std::optional<Error> findBookAt(const QUrl& url, bool depth1, QString* principal);
    QString hrefOf(const QString& serverHref, const QUrl& base) const;
    QUrl urlOf(const QString& href) const;

    Account account_;
    const std::atomic<bool>* cancel_;
    std::unique_ptr<QNetworkAccessManager> net_;
    QUrl book_;
    QString displayName_;
    bool canSync_ = false;
};

}  // namespace zrk::dav

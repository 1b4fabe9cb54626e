#include "calls/HistoryLoader.h"

namespace zrk {

struct HistoryLoader::Shared {};

HistoryLoader::HistoryLoader(QString fileName, QObject* parent)
    : QObject(parent), fileName_(std::move(fileName)) {}

HistoryLoader::~HistoryLoader() = default;

void HistoryLoader::start() {}
const CallHistory& HistoryLoader::history() const {
    return history_;
}
bool HistoryLoader::loading() const {
    return loading_;
}
qint64 HistoryLoader::bytesTotal() const {
    return total_;
}
void HistoryLoader::take(int, std::shared_ptr<void>) {}

}  // namespace zrk

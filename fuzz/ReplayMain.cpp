// Without libFuzzer (the ordinary gcc build): runs a fuzz target once over every file of the
// directories or files named on the command line, so that the seeds and every input that
// once failed are checked with each test run. A failure aborts, as under the fuzzer.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    // Paths first: the target's start changes the current directory.
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
        if (!it.hasNext()) files << arg;
        while (it.hasNext()) files << it.next();
    }
    files.sort();
    LLVMFuzzerInitialize(&argc, &argv);
    for (const QString& name : files) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 1;
        }
        const QByteArray data = f.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.constData()),
                               size_t(data.size()));
    }
    std::printf("%lld inputs passed\n", static_cast<long long>(files.size()));
    return files.isEmpty() ? 1 : 0;
}

// Runs a fuzz target once on every file of its corpus folders, so that the test suite
// checks the targets without a fuzzer: smoke_<target> <folder or file>...
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo arg(QString::fromLocal8Bit(argv[i]));
        QStringList files;
        if (arg.isDir()) {
            for (const QFileInfo& f : QDir(arg.filePath()).entryInfoList(QDir::Files)) files << f.filePath();
        } else {
            files << arg.filePath();
        }
        for (const QString& path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) continue;
            const QByteArray bytes = f.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<size_t>(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs\n", inputs);
    return inputs > 0 ? 0 : 1;
}

// Compares reading a text file line by line through the line reader (index,
// decoding, one seek per line) with its floor, a plain QFile::readLine loop
// that decodes each line with QString::fromUtf8, over the same file in the
// same run. Prints the median of several runs of each and the reader's speed
// as a share of the floor's (higher is better; 1 is as fast as the floor).
//
//   bench_textfiles [file|-] [runs]        (5 runs when not given)
//
// Without a file (or with "-"), a 20 MB file of CR LF lines is made in a
// temporary folder in the system code page (UTF-8 under the C locale), with a
// mix of ASCII and Chinese text like the data files hold.

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/codepage.h"
#include "support/textfile.h"

namespace {

constexpr qint64 kFileBytes = 20 * 1024 * 1024;

bool makeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QList<QByteArray> fields = {
        "MUSICITEM|1|",
        "Morning news",
        "|0|80|930;1400;0;0;0;0;0;0;0;0;|",
        "\xE6\x97\xA9\xE9\x97\xB4\xE5\xB9\xBF\xE6\x92\xAD", // Chinese text
        "|D:/music/\xE6\x88\x91\xE7\x9A\x84\xE6\xAD\x8C.mp3|",
        "20240101|20241231|"};
    QByteArray chunk;
    for (int i = 0; chunk.size() < 1024 * 1024; ++i) {
        for (int f = 0; f <= i % int(fields.size()); ++f)
            chunk += fields[f];
        chunk += QByteArray::number(i) + "\r\n";
    }
    for (qint64 written = 0; written < kFileBytes; written += chunk.size()) {
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

struct Result {
    qint64 lines = 0;
    qint64 characters = 0;
    double seconds = 0;
};

bool readWithLineReader(const QString& path, Result* result, double* indexSeconds) {
    QElapsedTimer timer;
    timer.start();
    ILineReader* reader = nullptr;
    if (OpenLineReader(path, &reader) != kTextOk)
        return false;
    *indexSeconds = timer.nsecsElapsed() / 1e9;
    QList<QChar> buffer(256);
    if (reader->MoveFirst() == kTextOk) {
        do {
            const qint32 length = reader->GetLineText(nullptr, 0);
            if (length < 0)
                break;
            if (buffer.size() < length + 1)
                buffer.resize(length + 1);
            const qint32 copied = reader->GetLineText(buffer.data(), length + 1);
            if (copied < 0)
                break;
            ++result->lines;
            result->characters += copied;
        } while (reader->MoveNext() == kTextOk);
    }
    reader->Release();
    result->seconds = timer.nsecsElapsed() / 1e9;
    return true;
}

bool readWithReadLine(const QString& path, bool decode, Result* result) {
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        ++result->lines;
        if (decode)
            result->characters += QString::fromUtf8(line).size();
        else
            result->characters += line.size();
    }
    result->seconds = timer.nsecsElapsed() / 1e9;
    return true;
}

// The run with the median time.
Result median(std::vector<Result> results) {
    std::sort(results.begin(), results.end(),
              [](const Result& a, const Result& b) { return a.seconds < b.seconds; });
    return results[results.size() / 2];
}

void print(const char* name, const Result& r) {
    std::printf("%-36s %9lld lines %8.3f s %12.0f lines/s\n", name, r.lines, r.seconds,
                r.lines / r.seconds);
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    QTemporaryDir dir;
    QString path;
    if (argc > 1 && QByteArray(argv[1]) != "-") {
        path = QString::fromLocal8Bit(argv[1]);
    } else {
        if (!dir.isValid())
            return 1;
        path = dir.filePath(QStringLiteral("bench.txt"));
        if (!makeFile(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_textfiles [file|-] [runs]\n");
        return 2;
    }
    std::printf("file: %s, %lld bytes, system code page %s, medians of %d runs\n", qPrintable(path),
                QFile(path).size(), SystemCodePageName().constData(), runs);

    // One untimed pass so that every reader finds the file in the page cache.
    Result warm;
    readWithReadLine(path, false, &warm);

    std::vector<Result> plainRuns, floorRuns, readerRuns;
    std::vector<double> indexRuns;
    for (int run = 0; run < runs; ++run) {
        Result plain, decoded, lines;
        double indexSeconds = 0;
        if (!readWithReadLine(path, false, &plain) || !readWithReadLine(path, true, &decoded) ||
            !readWithLineReader(path, &lines, &indexSeconds)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        plainRuns.push_back(plain);
        floorRuns.push_back(decoded);
        readerRuns.push_back(lines);
        indexRuns.push_back(indexSeconds);
    }
    const Result plain = median(plainRuns);
    const Result floor = median(floorRuns);
    const Result lines = median(readerRuns);
    std::sort(indexRuns.begin(), indexRuns.end());
    print("QFile::readLine (bytes only)", plain);
    print("floor: QFile::readLine + fromUtf8", floor);
    print("line reader (index + lines)", lines);
    std::printf("  of which building the index: %.3f s\n", indexRuns[indexRuns.size() / 2]);
    std::printf("line reader speed: x%.2f of the floor's (speed ratio, higher is better)\n",
                floor.seconds / lines.seconds);
    if (lines.lines != plain.lines + (plain.lines > 0 ? 1 : 0))
        std::printf("note: line counts differ (the line reader counts the empty line after the "
                    "last line feed)\n");
    return 0;
}

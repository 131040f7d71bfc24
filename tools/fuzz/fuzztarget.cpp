// One fuzz target: the check named at build time (TOLVANE_FUZZ_CHECK) on
// every input libFuzzer makes. A failed check aborts, which libFuzzer keeps as
// a crash with its input.
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

#include "harness.h"
#include "support/apppaths.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The cipher library is built beside the targets; the program folder is
    // pointed there so that it is found as the station finds it.
    SetAppFolderForTests(QFileInfo(QString::fromLocal8Bit((*argv)[0])).absolutePath());
    (void)argc;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    static const FuzzCheck check = FuzzCheckNamed(QStringLiteral(TOLVANE_FUZZ_CHECK));
    if (!check)
        std::abort();
    const QString problem =
        check(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", TOLVANE_FUZZ_CHECK, problem.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}

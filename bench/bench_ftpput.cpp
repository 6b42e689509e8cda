// PUTs a 50 MB file to a local FTP server through a transfer session (connect, put, close) and, beside
// it, with the curl command line. Prints both times and their ratio (target: at most 1.2).

#include "BenchTiming.h"
#include "support/FtpServer.h"

#include "datafiles/DataFileWriters.h"
#include "state/ProgramFolder.h"
#include "transfer/TransferRequest.h"
#include "transfer/TransferSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

using quorvane::bench::seconds;

using namespace quorvane;

namespace {

const QString kName = QStringLiteral("BIG0UALL.csv");
constexpr qint64 kSize = 50LL << 20;

struct Quiet : transfer::SessionView {
    QString status;
    void showFile(const QString&) override { }
    void showStatus(const QString& text, const QString& reason) override { status = text + QLatin1Char(' ') + reason; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("temp"));
    setProgramFolder(dir.path());
    const QString local = datafiles::dataFilePath(kName);
    {
        QFile file(local);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        for (qint64 written = 0; written < kSize; written += chunk.size()) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
            file.write(chunk);
        }
    }

    test::FtpServer server;
    if (!server.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.errorText()));
        return 1;
    }
    ftp::Settings settings;
    settings.port = server.port();
    transfer::setSessionSettings(settings);
    const ftp::Settings login = server.settings();
    const QString remote = server.filePath(kName);

    double best = 1e9, bestCurl = 1e9;
    for (int round = 0; round < 3; ++round) {
        QFile::remove(remote);
        Quiet view;
        transfer::TransferSession session(TransferSend, {kName},
                                          {QStringLiteral("127.0.0.1"), login.user, login.password}, view);
        QElapsedTimer t;
        t.start();
        const bool ok = session.run();
        const double elapsed = seconds(t);
        if (!ok || QFileInfo(remote).size() != kSize) {
            std::fprintf(stderr, "session failed: %s\n", qPrintable(view.status));
            return 1;
        }
        best = qMin(best, elapsed);

        QFile::remove(remote);
        QProcess curl;
        t.start();
        curl.start(QStringLiteral("curl"),
                   {QStringLiteral("-sS"), QStringLiteral("--disable-epsv"), QStringLiteral("-T"), local,
                    QStringLiteral("--user"), login.user + QLatin1Char(':') + login.password,
                    QStringLiteral("ftp://127.0.0.1:%1/%2").arg(server.port()).arg(kName)});
        if (!curl.waitForFinished(300000) || curl.exitCode() != 0 || QFileInfo(remote).size() != kSize) {
            std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
            return 1;
        }
        bestCurl = qMin(bestCurl, seconds(t));
    }

    const double mb = double(kSize) / (1 << 20);
    const double ratio = best / bestCurl;
    std::printf("PUT of %.0f MB through a transfer session: %.3f s (%.1f MB/s)\n", mb, best, mb / best);
    std::printf("curl -T of the same file: %.3f s (%.1f MB/s)\n", bestCurl, mb / bestCurl);
    std::printf("ratio %.2f (target at most 1.20): %s\n", ratio, ratio <= 1.2 ? "met" : "MISSED");
    return 0;
}

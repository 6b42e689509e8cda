#include "app/ProgramExit.h"
#include "otherfiles/OtherFileKinds.h"
#include "platform/StateReset.h"
#include "platform/text/Ansi.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "transfer/TransferSession.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

namespace {
int gResetRuns = 0;
bool gConnectionOpenDuringReset = false;

void resetLayerAbove()
{
    ++gResetRuns;
    gConnectionOpenDuringReset = gDBConnection.isOpen();
}
} // namespace

class TstProgramState : public QObject {
    Q_OBJECT

private slots:
    // A run's values, set the way the program sets them, are all back at their start after one call; a layer
    // above is reset once however often it registered, while the foundation still stands.
    void resetPutsEverythingBack()
    {
        const QString systemCodePage = text::ansiCodePage();
        QTemporaryDir dir;
        QVERIFY(gDBConnection.create(dir.filePath(QStringLiteral("state.mdb"))));
        gDBConnection.exec(QStringLiteral("CREATE TABLE T (Id INTEGER)"));
        gDBConnection.exec(QStringLiteral("INSERT INTO T VALUES (?)"), {1});
        gRsWork.open(QStringLiteral("SELECT * FROM T"));
        gRsPLU.open(QStringLiteral("SELECT * FROM T"));
        setProgramFolder(dir.path());
        gSettings().gPricePoint = 3;
        gSettings().gCurrencySymbol = QStringLiteral("EUR");
        programState().exitCode = 2;
        gLangMsg.add(QStringLiteral("k"), QStringLiteral("v"));
        gParEANEdit.add(QStringLiteral("E0"), QStringLiteral("x"));
        text::setAnsiCodePage(QStringLiteral("GBK"));
        registerStateReset(resetLayerAbove);
        registerStateReset(resetLayerAbove);
        // Test seams, whatever their layer.
        int exits = 0;
        app::setExitHandler([&](int) { ++exits; });
        ftp::Settings scale;
        scale.port = 2121;
        transfer::setSessionSettings(scale);
        otherfiles::setOtherFilesClock([] { return QDateTime(QDate(2001, 2, 3), QTime(4, 5)); });

        resetProgramState();

        QCOMPARE(gResetRuns, 1);
        QVERIFY(gConnectionOpenDuringReset);
        QVERIFY(!gDBConnection.isOpen());
        QVERIFY(!gRsWork.isOpen() && !gRsPLU.isOpen());
        QCOMPARE(programFolder(), QCoreApplication::applicationDirPath());
        QCOMPARE(gSettings().gPricePoint, qint16(0));
        QVERIFY(gSettings().gCurrencySymbol.isEmpty());
        QVERIFY(!programState().exitCode);
        QVERIFY(gLangMsg.isEmpty() && gParEANEdit.isEmpty());
        // The program-wide names still name the state's own collections.
        QCOMPARE(&gLangMsg, &programState().texts.gLangMsg);
        QCOMPARE(text::ansiCodePage(), systemCodePage);
        app::exitProgram(1);
        QCOMPARE(exits, 0);
        QCOMPARE(transfer::sessionSettings().port, quint16(21));
        QVERIFY(otherfiles::otherFilesNow().date().year() > 2001);

        // The shared connection opens again after a reset, as at a fresh start.
        QVERIFY(gDBConnection.open(dir.filePath(QStringLiteral("state.mdb"))));
        gRsWork.open(QStringLiteral("SELECT * FROM T"));
        QCOMPARE(gRsWork.intValue(QStringLiteral("Id")), qint64(1));
        resetProgramState();
        QCOMPARE(gResetRuns, 2);
    }
};

QTEST_GUILESS_MAIN(TstProgramState)
#include "tst_programstate.moc"

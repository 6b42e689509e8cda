#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"

#include "otherfiles/OtherFileKinds.h"
#include "otherfiles/ui/frmOtherFile.h"
#include "platform/ui/ValueSetters.h"
#include "settings/Settings.h"
#include "state/SharedData.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLineEdit>
#include <QtTest>

using namespace quorvane;

namespace {

template<class T = QWidget> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QString text(QWidget* form, const char* box) { return child<QLineEdit>(form, box)->text(); }

} // namespace

class TestFrmOtherFile : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    void initTestCase() { test::loadTexts(); }
    void cleanup() { otherfiles::setOtherFilesClock({}); }

    // An empty database at date order 4 and the decimal sign ",": number 1 of every kind with its defaults.
    void openingEmpty()
    {
        gSettings().gDateType = 4;
        gSettings().gDecimalSign = QStringLiteral(",");
        gSettings().gPricePoint = 2;
        otherfiles::setOtherFilesClock([] { return QDateTime(QDate(2027, 3, 5), QTime(9, 7)); });
        frmOtherFile form;
        form.show();
        if (const QString dir = qEnvironmentVariable("QUORVANE_GRAB_DIR"); !dir.isEmpty())
            form.grab().save(QDir(dir).filePath(QStringLiteral("frmOtherFile.png")));
        QCOMPARE(text(&form, "txtIngNo"), QStringLiteral("1"));
        QCOMPARE(text(&form, "txtIngNextNo"), QStringLiteral("0"));
        QCOMPARE(text(&form, "txtTaxName"), QStringLiteral("VAT1"));
        QCOMPARE(text(&form, "meditNewUPrice"), QStringLiteral("0,00"));
        QCOMPARE(child<QComboBox>(&form, "combClerkNo")->currentIndex(), 0);
        QCOMPARE(child<QDateTimeEdit>(&form, "DTPickerStartDatePrice")->text(), QStringLiteral("05.03.27"));
        QCOMPARE(child<QDateTimeEdit>(&form, "DTPickerEndTime")->displayFormat(), QStringLiteral("HH:mm"));
        QCOMPARE(test::rowCount(QStringLiteral("KVB_A8")), 0); // showing saves nothing
    }

    // A name typed and the window closed by its frame: the clerk is saved.
    void closingSavesTheFocusedField()
    {
        auto* form = new frmOtherFile;
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QLineEdit* name = child<QLineEdit>(form, "txtClerkName");
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("Ann"));
        form->close();
        QCOMPARE(gDBConnection.scalar(QStringLiteral("SELECT Name FROM KVB_44 WHERE Clerk_No = 1")).toString(),
                 QStringLiteral("Ann"));
    }
};

QTEST_MAIN(TestFrmOtherFile)
#include "tst_frmotherfile.moc"

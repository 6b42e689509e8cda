// The other-files window on 100,000 ingredient texts and 100,000 discount schedules, shown offscreen: ticking and
// clearing chkIng and chkDiscSch (target: at most 2 times the sqlite3 shell running the same statements on a copy
// of the database), and 1,000 numbers typed into txtIngNo, each record shown (target: at most 3 times the shell
// running the same queries). Prints the best of three and the ratios.

#include "BenchDatabase.h"
#include "BenchTiming.h"
#include "BenchWindows.h"
#include "OtherFilesData.h"

#include "otherfiles/ui/frmOtherFile.h"
#include "platform/ui/ValueSetters.h"
#include "state/SharedData.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace quorvane;

namespace {

constexpr int kTyped = 1000;

// The number typed n-th: spread over the whole table.
int typedNumber(int n) { return 1 + (n * 7919) % bench::kOtherFileRows; }

// Writes the statements into a file for the shell's standard input.
QString scriptFile(const QString& path, const QStringList& statements)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    QTextStream(&file) << statements.join(QLatin1Char('\n')) << '\n';
    return path;
}

void report(const char* what, const bench::Timing& t, double target)
{
    std::printf("%s: %.3f s\n", what, t.ours);
    std::printf("  sqlite3 running the same statements: %.3f s\n", t.shell);
    std::printf("  ratio %.2f (target at most %.2f): %s\n", t.ours / t.shell, target,
                t.ours / t.shell <= target ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString database = bench::openWorkingDatabase(dir);
    if (database.isEmpty())
        return 1;
    bench::fillOtherFiles();
    bench::answerMessagesOk();
    frmOtherFile window;
    window.show();
    auto* chkIng = window.findChild<QCheckBox*>(QStringLiteral("chkIng"));
    auto* chkDiscSch = window.findChild<QCheckBox*>(QStringLiteral("chkDiscSch"));
    auto* txtIngNo = window.findChild<QLineEdit*>(QStringLiteral("txtIngNo"));
    auto* txtIngredient = window.findChild<QLineEdit*>(QStringLiteral("txtIngredient"));
    const QString shellCopy = dir.filePath(QStringLiteral("shell.db"));
    const auto copyForShell = [&] {
        QFile::remove(shellCopy);
        gDBConnection.exec(QStringLiteral("VACUUM INTO ?"), {shellCopy});
    };

    // Each tick and clear is one statement in a transaction, the tick asking whether a row passed.
    QStringList marks;
    for (const auto& [table, test] : {std::pair{"KVB_3A", "NameFirstLine <> ' '"}, {"KVB_AA", "Disc_Type <> 0"}})
        for (const int ticked : {1, 0})
            marks << QStringLiteral("BEGIN; UPDATE %1 SET Is_Selected = CASE WHEN %2 AND %3 THEN 1 ELSE 0 END;")
                         .arg(QLatin1String(table))
                         .arg(ticked)
                         .arg(QLatin1String(test))
                  << (ticked ? QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE Is_Selected = 1);")
                                   .arg(QLatin1String(table))
                             : QString())
                  << QStringLiteral("COMMIT;");
    const bench::Timing ticks = bench::measure(
        [&] {
            for (QCheckBox* box : {chkIng, chkDiscSch}) {
                ui::setChecked(box, true);
                ui::setChecked(box, false);
            }
        },
        {shellCopy, marks.join(QLatin1Char(' '))}, dir.filePath("shell.txt"), copyForShell);
    report("Ticking and clearing chkIng and chkDiscSch, 100,000 rows each", ticks, 2.0);

    QStringList queries;
    for (int n = 1; n <= kTyped; ++n)
        queries << QStringLiteral("SELECT * FROM KVB_3A WHERE No = %1 ORDER BY (Name IS NULL OR length(Name) = 0), "
                                  "rowid LIMIT 1;")
                       .arg(typedNumber(n));
    const QString script = scriptFile(dir.filePath("typed.sql"), queries);
    int wrong = 0;
    const bench::Timing typing = bench::measure(
        [&] {
            for (int n = 1; n <= kTyped; ++n) {
                ui::setText(txtIngNo, QString::number(typedNumber(n)));
                wrong += txtIngredient->text() != QStringLiteral("Ingredient %1, line 1").arg(typedNumber(n));
            }
        },
        {database, QStringLiteral(".read %1").arg(script)}, dir.filePath("shell.txt"));
    report("1,000 numbers typed into txtIngNo, each shown", typing, 3.0);
    if (wrong) {
        std::fprintf(stderr, "%d numbers showed another record\n", wrong);
        return 1;
    }
    return 0;
}

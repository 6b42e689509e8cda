#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <sched.h>

namespace quorvane::bench {

// Keeps this process, and the sqlite3 shell it starts, on the processor it is running on: for a benchmark whose
// work runs on one thread, as the shell's does. The processors of a virtual machine need not run at one speed, and
// ours measured on a slow one against the shell on a fast one gave ratios half again too high.
inline void pinToOneProcessor()
{
    const int cpu = sched_getcpu();
    if (cpu < 0)
        return;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    sched_setaffinity(0, sizeof set, &set);
}

inline double seconds(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

// Runs the sqlite3 shell with the arguments, its output into the file `output` (and its input from the file
// `input`, when given), and gives the seconds it took. A shell that fails ends the benchmark.
inline double timeShell(const QStringList& arguments, const QString& output, const QString& input = QString())
{
    QProcess shell;
    shell.setStandardOutputFile(output);
    if (!input.isEmpty())
        shell.setStandardInputFile(input);
    QElapsedTimer t;
    t.start();
    shell.start(QStringLiteral("sqlite3"), arguments);
    // Bounded, so a shell that hangs ends the benchmark; the largest data sets take well under a minute.
    if (!shell.waitForFinished(600000) || shell.exitCode() != 0) {
        std::fprintf(stderr, "sqlite3 failed: %s %s\n", qPrintable(shell.errorString()),
                     shell.readAllStandardError().constData());
        std::exit(1);
    }
    return seconds(t);
}

// The best of three rounds of our own work and of the sqlite3 shell run beside it, and our first round.
struct Timing {
    double ours = 1e9;
    double shell = 1e9;
    double first = 0;
};

// Three rounds, each of `work` then the shell with `shellArguments` (output into `shellOutput`); `prepare`
// runs untimed before each round.
inline Timing measure(const std::function<void()>& work, const QStringList& shellArguments, const QString& shellOutput,
                      const std::function<void()>& prepare = {})
{
    Timing best;
    for (int round = 0; round < 3; ++round) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        work();
        const double ours = seconds(t);
        if (round == 0)
            best.first = ours;
        best.ours = qMin(best.ours, ours);
        best.shell = qMin(best.shell, timeShell(shellArguments, shellOutput));
    }
    return best;
}

} // namespace quorvane::bench

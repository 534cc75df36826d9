// vexmoctl against vexmo-mouse-sim: what it sends, at what pace, and what the mouse then holds.

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kWaitMs = 15000;
const QString kProfile = QStringLiteral(VEXMO_TEST_DATA "/custom.psf");

struct Run {
    int code = -1;
    QString out;
    QString err;
};

} // namespace

class TestVexmoctl : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString socket_;
    std::unique_ptr<QProcess> sim_;

    Run Exec(const QString& program, const QStringList& args, bool withSim = true)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (withSim)
            env.insert("VEXMO_MOUSE_SIM", socket_);
        else
            env.remove("VEXMO_MOUSE_SIM");
        p.setProcessEnvironment(env);
        p.start(program, args);
        Run r;
        if (!p.waitForFinished(kWaitMs)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    Run Ctl(const QStringList& command) { return Exec(VEXMO_SIM_BIN, QStringList{"ctl", "--socket", socket_} + command); }

    // The simulator's log: time stamp and report of every command, identity queries left out.
    QList<QPair<qint64, QString>> Commands()
    {
        QList<QPair<qint64, QString>> commands;
        for (const QString& line : Ctl({"log"}).out.split('\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split(' ');
            if (f.size() >= 2 && !f[1].startsWith("0c0120", Qt::CaseInsensitive))
                commands.append({f[0].toLongLong(), f[1].toUpper()});
        }
        return commands;
    }

    QString State(const QString& key)
    {
        for (const QString& line : Ctl({"state"}).out.split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(key + "="))
                return line.mid(key.size() + 1);
        }
        return "missing";
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        socket_ = dir_->path() + "/sim.sock";
        sim_ = std::make_unique<QProcess>();
        sim_->start(VEXMO_SIM_BIN, {"serve", "--socket", socket_, "--cable", "--sensor", "0x12"});
        QVERIFY(sim_->waitForStarted(kWaitMs));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket_), kWaitMs);
    }

    void cleanup()
    {
        Ctl({"quit"});
        if (!sim_->waitForFinished(kWaitMs))
            sim_->kill();
    }

    void applyLeavesTheMouseHoldingTheProfile()
    {
        // The identity query takes sequence number 0, so the writes start at 1.
        const Run expected = Exec(VEXMOCTL_BIN, {"reports", kProfile, "--seq", "1"}, false);
        QCOMPARE(expected.code, 0);
        const QStringList reports = expected.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(reports.size(), 14); // six key slots, six settings blocks, power, wake-up

        const Run apply = Exec(VEXMOCTL_BIN, {"apply", kProfile});
        QCOMPARE(apply.code, 0);

        // Exactly the reports, in order, paced 60 ms apart. Each gap is measured where the
        // simulator takes the report, so one report held up on its way can make the next gap
        // look a little short; the whole run cannot.
        const auto commands = Commands();
        QCOMPARE(commands.size(), reports.size());
        for (int i = 0; i < commands.size(); ++i) {
            QCOMPARE(commands[i].second, reports[i]);
            if (i > 0)
                QVERIFY2(commands[i].first - commands[i - 1].first >= 40,
                         qPrintable(QString("report %1 came %2 ms after the one before")
                                        .arg(i).arg(commands[i].first - commands[i - 1].first)));
        }
        QVERIFY(commands.last().first - commands.first().first >= 60 * (commands.size() - 1) - 2);

        // What the mouse holds, read back from its own decoding.
        QCOMPARE(State("slot3"), QString("30 0A 05")); // the profile's key 4, on the wire's slot 3
        QCOMPARE(State("slot4"), QString("70 04 15"));
        QCOMPARE(State("dpi.mask"), QString("0F"));
        QCOMPARE(State("dpi.active"), QString("3"));
        QCOMPARE(State("colour2"), QString("12 34 56"));
        QCOMPARE(State("interval"), QString("1"));
        QCOMPARE(State("liftoff"), QString("1"));
        QCOMPARE(State("debounce"), QString("4"));
        QCOMPARE(State("power.down"), QString("3"));
        QCOMPARE(State("wakeup"), QString("0"));
    }

    void infoAndReset()
    {
        const Run info = Exec(VEXMOCTL_BIN, {"info"});
        QCOMPARE(info.code, 0);
        QVERIFY(info.out.contains("identity=found\n"));
        QVERIFY(info.out.contains("sensor=0x3212\n"));
        QVERIFY(info.out.contains("link=cable\n"));

        Exec(VEXMOCTL_BIN, {"apply", kProfile});
        QCOMPARE(Exec(VEXMOCTL_BIN, {"reset"}).code, 0);
        QCOMPARE(State("factory-resets"), QString("1"));
        QCOMPARE(State("interval"), QString("unknown"));
    }

    void badArgumentsAndNoMouse()
    {
        struct Case {
            QStringList args;
            int code;
        } cases[] = {
            {{}, 2},
            {{"frobnicate"}, 2},
            {{"reports"}, 2},
            {{"reports", kProfile, "--seq", "256"}, 2},
            {{"reports", kProfile, "--sensor", "0x1234"}, 2},
            {{"reports", kProfile, "--bogus", "1"}, 2},
            {{"reports", dir_->path() + "/missing.psf"}, 1},
            {{"reports", kProfile, "--library", dir_->path() + "/missing.mlf"}, 1},
            {{"info", "extra"}, 2},
        };
        for (const auto& c : cases) {
            const Run r = Exec(VEXMOCTL_BIN, c.args);
            QVERIFY2(r.code == c.code, qPrintable(c.args.join(' ') + " gave " + QString::number(r.code)));
            QVERIFY2(!r.err.isEmpty(), qPrintable(c.args.join(' ')));
        }
        // A file that is not a profile.
        QFile junk(dir_->path() + "/junk.psf");
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a profile");
        junk.close();
        QCOMPARE(Exec(VEXMOCTL_BIN, {"reports", junk.fileName()}).code, 1);

        // No mouse at all: the simulator has neither link.
        Ctl({"unplug", "cable"});
        const Run info = Exec(VEXMOCTL_BIN, {"info"});
        QCOMPARE(info.code, 1);
        QVERIFY(info.err.contains("no mouse"));
    }
};

QTEST_GUILESS_MAIN(TestVexmoctl)
#include "test_vexmoctl.moc"

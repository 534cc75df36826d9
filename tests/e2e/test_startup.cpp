// vexmo and vexmo-mouse-sim as separate processes, the way a user runs them.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

constexpr int kWaitMs = 10000;

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString socket_;
    std::unique_ptr<QProcess> sim_;
    std::vector<std::unique_ptr<QProcess>> programs_;

    QProcessEnvironment Env() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir_->path() + "/config");
        env.insert("XDG_RUNTIME_DIR", dir_->path() + "/run");
        env.insert("VEXMO_MOUSE_SIM", socket_);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }

    QString Ctl(const QStringList& command)
    {
        QProcess ctl;
        ctl.start(VEXMO_SIM_BIN, QStringList{"ctl", "--socket", socket_} + command);
        if (!ctl.waitForFinished(kWaitMs) || ctl.exitCode() != 0)
            return QString("ctl failed: ") + ctl.readAllStandardError();
        return QString::fromUtf8(ctl.readAllStandardOutput());
    }

    // Identity queries (command 0x20) the simulated mouse has received.
    int Queries()
    {
        int n = 0;
        for (const QString& line : Ctl({"log"}).split('\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(' ');
            if (fields.size() >= 2 && fields[1].startsWith("0c0120", Qt::CaseInsensitive))
                ++n;
        }
        return n;
    }

    QProcess* StartVexmo()
    {
        programs_.push_back(std::make_unique<QProcess>());
        QProcess* p = programs_.back().get();
        p->setProcessEnvironment(Env());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(VEXMO_BIN, {});
        return p;
    }

    void StartSim(const QStringList& options)
    {
        sim_ = std::make_unique<QProcess>();
        sim_->start(VEXMO_SIM_BIN, QStringList{"serve", "--socket", socket_} + options);
        QVERIFY(sim_->waitForStarted(kWaitMs));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket_), kWaitMs);
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QDir().mkpath(dir_->path() + "/run");
        QFile::setPermissions(dir_->path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        socket_ = dir_->path() + "/sim.sock";
    }

    void cleanup()
    {
        for (auto& p : programs_) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(kWaitMs);
            }
        }
        programs_.clear();
        if (sim_) {
            Ctl({"quit"});
            if (!sim_->waitForFinished(kWaitMs))
                sim_->kill();
            sim_.reset();
        }
    }

    void identityQueryAndSecondInstance()
    {
        // The mouse has not allowed the window, so a second start makes the first ask it again.
        StartSim({"--cable", "--show", "0"});
        QProcess* first = StartVexmo();
        QTRY_COMPARE_WITH_TIMEOUT(Queries(), 1, kWaitMs);
        QVERIFY(QFileInfo(dir_->path() + "/config/QuorvaneData20230718A/config/config.ini").isFile());

        QProcess* second = StartVexmo();
        QVERIFY(second->waitForFinished(kWaitMs));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(Queries(), 2, kWaitMs);
        QCOMPARE(first->state(), QProcess::Running);

        // A termination request closes the program cleanly.
        ::kill(static_cast<pid_t>(first->processId()), SIGTERM);
        QVERIFY(first->waitForFinished(kWaitMs));
        QCOMPARE(first->exitCode(), 0);
    }

    void unplugEndsTheProgram()
    {
        StartSim({"--cable", "--receiver"});
        QProcess* vexmo = StartVexmo();
        QTRY_COMPARE_WITH_TIMEOUT(Queries(), 1, kWaitMs);
        QCOMPARE(Ctl({"unplug", "cable"}), QString());
        QTest::qWait(500);
        QCOMPARE(vexmo->state(), QProcess::Running); // the receiver is still there
        Ctl({"unplug", "receiver"});
        QVERIFY(vexmo->waitForFinished(kWaitMs));
        QCOMPARE(vexmo->exitCode(), 0);
    }

    void simulatorVanishingMidRun()
    {
        StartSim({"--cable"});
        QProcess* vexmo = StartVexmo();
        QTRY_COMPARE_WITH_TIMEOUT(Queries(), 1, kWaitMs);
        sim_->kill();
        sim_->waitForFinished(kWaitMs);
        sim_.reset();
        // The mouse is gone with it: the program ends, without crashing or hanging.
        QVERIFY(vexmo->waitForFinished(kWaitMs));
        QCOMPARE(vexmo->exitStatus(), QProcess::NormalExit);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"

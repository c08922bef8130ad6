// Sound through a real audio server: a private PulseAudio with a null sink,
// whose monitor is recorded while the wave player plays.
#include "appmenus/DemoSounds.h"
#include "desk/PlayWav.h"
#include "platform/Sound.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

using testing_support::ScopedEnvironment;
using testing_support::waitUntil;
using testing_support::writeFile;

namespace {

constexpr int recordRate = 22050;
const QString sinkName = QStringLiteral("kavro_null");

// A PulseAudio server of its own, in a private runtime folder, with one
// null sink; it ends with the object.
class PulseServer final {
public:
    PulseServer()
    {
        for (const char* tool : { "pulseaudio", "pactl", "parec" })
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
                problem = QStringLiteral("%1 is not installed (Debian packages pulseaudio and pulseaudio-utils)")
                              .arg(QLatin1String(tool));
                return;
            }
        const QString home = runtime_.path();
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("HOME", home);
        env_.insert("XDG_RUNTIME_DIR", home + "/run");
        env_.insert("XDG_CONFIG_HOME", home + "/config");
        env_.insert("PULSE_RUNTIME_PATH", home + "/run/pulse");
        env_.insert("PULSE_STATE_PATH", home + "/state");
        env_.insert("PULSE_SERVER", "unix:" + socket());
        env_.insert("PULSE_CLIENTCONFIG", home + "/client.conf");
        env_.insert("PULSE_COOKIE", home + "/cookie"); // not the user's own
        writeFile(home + "/client.conf", "autospawn = no\n"); // a client never starts a server of its own
        QDir(home).mkpath("run");
        server_.setProcessEnvironment(env_);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start("pulseaudio",
            { "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--disable-shm=yes",
                "--log-target=stderr", "--load=module-null-sink sink_name=" + sinkName,
                "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket() });
        if (!server_.waitForStarted(5000)) {
            problem = "pulseaudio could not be started: " + server_.errorString();
            return;
        }
        const QDeadlineTimer deadline(15000);
        while (!tool("pactl", { "info" })) {
            if (server_.state() != QProcess::Running || deadline.hasExpired()) {
                problem = "pulseaudio did not come up: " + QString::fromLocal8Bit(server_.readAll().right(600));
                return;
            }
            QThread::msleep(100);
        }
    }

    ~PulseServer()
    {
        if (server_.state() == QProcess::NotRunning)
            return;
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }

    QString socket() const { return runtime_.path() + "/native"; }
    const QProcessEnvironment& environment() const { return env_; }

    // Runs a client tool to its end; its output when it succeeded.
    std::optional<QByteArray> tool(const QString& program, const QStringList& arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(env_);
        process.start(program, arguments);
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(2000);
            return std::nullopt;
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return std::nullopt;
        return process.readAllStandardOutput();
    }

    QString problem; // why the server is not there; empty when it runs

private:
    QTemporaryDir runtime_;
    QProcessEnvironment env_;
    QProcess server_;
};

// Records the null sink's monitor as 16-bit mono samples.
class MonitorRecording final {
public:
    explicit MonitorRecording(const PulseServer& server)
    {
        recorder_.setProcessEnvironment(server.environment());
        recorder_.start("parec",
            { "--device=" + sinkName + ".monitor", "--raw", "--format=s16le", "--rate=" + QString::number(recordRate),
                "--channels=1", "--latency-msec=20" });
        // Recording has begun once the server lists the recorder's stream.
        connected = recorder_.waitForStarted(5000)
            && waitUntil(
                [&] {
                    const std::optional<QByteArray> outputs
                        = server.tool("pactl", { "list", "short", "source-outputs" });
                    return outputs && !outputs->trimmed().isEmpty();
                },
                10000);
    }

    ~MonitorRecording()
    {
        recorder_.kill();
        recorder_.waitForFinished(5000);
    }

    // Takes in what was recorded until `seconds` of sound have come after a
    // loud sample, or `timeoutMs` passes.
    std::vector<qint16> record(double seconds, int timeoutMs)
    {
        waitUntil(
            [&] {
                const QByteArray data = recorder_.readAllStandardOutput();
                for (qsizetype i = 0; i + 1 < data.size(); i += 2)
                    samples_.push_back(qint16(quint8(data[i]) | (quint8(data[i + 1]) << 8)));
                const qsizetype loud = firstLoud(samples_);
                return loud >= 0 && samples_.size() - size_t(loud) >= size_t(seconds * recordRate);
            },
            timeoutMs);
        return samples_;
    }

    static qsizetype firstLoud(const std::vector<qint16>& samples)
    {
        const auto it = std::find_if(samples.begin(), samples.end(), [](qint16 s) { return std::abs(s) > 2000; });
        return it == samples.end() ? -1 : it - samples.begin();
    }

    bool connected = false;

private:
    QProcess recorder_;
    std::vector<qint16> samples_;
};

int beeps = 0;

class ServerSound : public ::testing::Test {
protected:
    // One server for all the cases, started after the application object exists.
    static void SetUpTestSuite() { server = std::make_unique<PulseServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        if (!server->problem.isEmpty())
            GTEST_SKIP() << "no audio server: " << server->problem.toStdString();
        // The program's own audio output goes to the private server.
        for (const char* name : { "PULSE_SERVER", "PULSE_CLIENTCONFIG", "PULSE_COOKIE" })
            environment.emplace_back(
                std::make_unique<ScopedEnvironment>(name, server->environment().value(name).toUtf8()));
        platform::setWavePlayerModuleForTesting(QStringLiteral(KAVRO_SOUND_MODULE));
        platform::setBeepForTesting([] { ++beeps; });
        beeps = 0;
    }
    void TearDown() override { platform::setBeepForTesting(nullptr); }

    QString wave(const QString& name, const QByteArray& data) const
    {
        writeFile(folder.filePath(name), data);
        return folder.filePath(name);
    }

    static inline std::unique_ptr<PulseServer> server;
    std::vector<std::unique_ptr<ScopedEnvironment>> environment;
    QTemporaryDir folder;
    TPlayWav player { nullptr };
};

TEST_F(ServerSound, TheAlarmSoundReachesTheServerAsItsThreeBeepsAt880Hertz)
{
    MonitorRecording recording(*server);
    ASSERT_TRUE(recording.connected) << "the recorder did not connect";
    player.PlayFile(wave("Alarm.wav", alarmWave()));
    const std::vector<qint16> samples = recording.record(1.0, 15000);
    const qsizetype start = MonitorRecording::firstLoud(samples);
    ASSERT_GE(start, 0) << "the recording is silent (" << samples.size() << " samples)";
    EXPECT_EQ(beeps, 0);
    // The first beep lasts a quarter of a second: count its zero crossings over a fifth.
    const qsizetype window = recordRate / 5;
    ASSERT_GE(qsizetype(samples.size()), start + window);
    int crossings = 0;
    for (qsizetype i = start + 1; i < start + window; ++i)
        crossings += (samples[size_t(i - 1)] < 0) != (samples[size_t(i)] < 0);
    EXPECT_NEAR(crossings / 2.0 * 5, 880.0, 40.0);
    const auto peak = std::abs(*std::max_element(
        samples.begin(), samples.end(), [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); }));
    EXPECT_GT(peak, 6000);
}

TEST_F(ServerSound, TheAboutPanelsSoundReachesTheServer)
{
    MonitorRecording recording(*server);
    ASSERT_TRUE(recording.connected) << "the recorder did not connect";
    player.PlayFile(wave("Magic.wav", magicWave()));
    const std::vector<qint16> samples = recording.record(0.5, 15000);
    EXPECT_GE(MonitorRecording::firstLoud(samples), 0) << "the recording is silent";
}

TEST_F(ServerSound, AMissingOrUnplayableWaveFileGivesTheDefaultSoundAndReturnsAtOnce)
{
    player.PlayFile(folder.filePath("missing.wav"));
    EXPECT_EQ(beeps, 1);
    player.PlayFile(wave("broken.wav", "RIFF but nothing a wave file holds"));
    EXPECT_TRUE(waitUntil([] { return beeps == 2; }, 10000)) << beeps;
    // A file cut short, as a copy that did not finish leaves it.
    player.PlayFile(wave("short.wav", alarmWave().left(5000)));
    EXPECT_TRUE(waitUntil([] { return beeps == 3; }, 10000)) << beeps;
    // Nothing was left playing or waiting: a good file plays after them.
    MonitorRecording recording(*server);
    ASSERT_TRUE(recording.connected);
    player.PlayFile(wave("Alarm.wav", alarmWave()));
    EXPECT_GE(MonitorRecording::firstLoud(recording.record(0.2, 15000)), 0);
}

} // namespace

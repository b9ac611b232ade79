#include "qt/speaker.h"

#include "qt/mixer.h"
#include "qt/qt_platform.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace squeakrun::qt {

namespace {

// Each cue as the game announces it, and when the stream to the sound server is opened and given up,
// with QT_LOGGING_RULES=squeakrun.sound.debug=true: a tester or a puzzled player can set what is heard
// beside what happened.
Q_LOGGING_CATEGORY(lcSound, "squeakrun.sound", QtWarningMsg)

constexpr auto kSoundKey = "sound";

} // namespace

// The sound thread's side: every sound read into memory at start, and one stream to the sound server
// into which the sounds that are playing are mixed. Several sound at once, a cue that comes again while
// its last sound still plays sounds again from its start, and a new sound goes out at once. The stream is
// topped up only while a sound plays, and then in the same wake-ups as the sound library's own look at the
// stream; once the last sound has played out the stream is paused, and after a quiet second given up, so an
// idle speaker never wakes the game.
class Voices : public QObject {
  public:
    explicit Voices(std::filesystem::path folder) : folder_(std::move(folder)) {}

    void load() {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return goSilent("no sound device was found, so the game plays without sound");
        std::string missing;
        for (std::size_t c = 0; c < kCueNames.size(); ++c) {
            const std::filesystem::path file = folder_ / (std::string(kCueNames[c]) + ".wav");
            if (!readWave(file, sounds_[c])) missing += ' ' + file.string();
        }
        if (!missing.empty()) say("these sounds are missing or unreadable and stay silent:" + missing);
        QAudioFormat format;
        format.setSampleRate(kRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = new QAudioSink(device, format, this);
        sink_->setBufferSize(kBufferFrames * 2);
        // The sound library looks at a running stream on a coarse timer of this period: a feeder on
        // the same kind of timer, started with it, fires in the same wake-up.
        feeder_.setTimerType(Qt::CoarseTimer);
        connect(&feeder_, &QTimer::timeout, this, &Voices::feed);
        playedOut_.setSingleShot(true);
        connect(&playedOut_, &QTimer::timeout, this, [this] {
            sink_->suspend();
            release_.start(kReleaseMs);
        });
        release_.setSingleShot(true);
        connect(&release_, &QTimer::timeout, this, [this] {
            sink_->stop();
            out_ = nullptr;
            qCDebug(lcSound, "stream given up");
        });
    }

    void play(Cue cue) {
        const std::vector<std::int16_t>& sound = sounds_[static_cast<std::size_t>(cue)];
        if (silent_ || !sink_ || sound.empty()) return;
        mixer_.play(sound);
        release_.stop();
        playedOut_.stop();
        if (!out_) {
            out_ = sink_->start();
            qCDebug(lcSound, "stream opened");
        } else if (sink_->state() == QAudio::SuspendedState)
            sink_->resume();
        feed();
        if (!feeder_.isActive()) feeder_.start(kFeedMs);
    }

  private:
    static constexpr int kRate = 22050;
    static constexpr int kBufferMs = 50; // queued at the server at most: the wait of a sound that
                                         // comes while another plays
    static constexpr int kBufferFrames = kRate * kBufferMs / 1000;
    static constexpr int kFeedMs = 20; // the sound library's own period
    // Even a paused stream is looked after by the sound library every second and a half: after a quiet
    // second the stream is given up, and made anew (in a few ms) for the next sound.
    static constexpr int kReleaseMs = 1000;

    // A 16-bit mono PCM WAV at kRate, the only kind tools/sound makes.
    static bool readWave(const std::filesystem::path& path, std::vector<std::int16_t>& samples) {
        QFile file(QString::fromStdString(path.string()));
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray bytes = file.readAll();
        if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return false;
        const auto u16 = [&](qsizetype at) {
            return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at])) |
                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8;
        };
        const auto u32 = [&](qsizetype at) { return u16(at) | u16(at + 2) << 16; };
        bool formatOk = false;
        for (qsizetype at = 12; at + 8 <= bytes.size();) {
            const QByteArray id = bytes.mid(at, 4);
            const qsizetype size = u32(at + 4), body = at + 8;
            if (body + size > bytes.size()) return false;
            if (id == "fmt ")
                formatOk = size >= 16 && u16(body) == 1 && u16(body + 2) == 1 && u32(body + 4) == kRate &&
                           u16(body + 14) == 16;
            if (id == "data" && formatOk) {
                samples.resize(static_cast<std::size_t>(size / 2));
                for (std::size_t i = 0; i < samples.size(); ++i)
                    samples[i] = static_cast<std::int16_t>(u16(body + 2 * static_cast<qsizetype>(i)));
                return !samples.empty();
            }
            at = body + size + (size & 1);
        }
        return false;
    }

    // Tops the stream up with the sounds that are playing mixed together (and silence after the last
    // one ends); once the last has been written, stops, and pauses the stream when it has played out.
    void feed() {
        // Nothing but a sound server that went away (or would not take a stream) stops the stream.
        if (!out_ || sink_->state() == QAudio::StoppedState)
            return goSilent("the sound server went away, so the game plays on without sound");
        const qsizetype room = sink_->bytesFree() / 2;
        if (room <= 0) return;
        mixer_.mix(static_cast<std::size_t>(room), out16_);
        const qint64 bytes = static_cast<qint64>(out16_.size() * 2);
        out_->write(reinterpret_cast<const char*>(out16_.data()), bytes);
        if (mixer_.playing()) return;
        feeder_.stop();
        playedOut_.start(kBufferMs + kFeedMs);
    }

    void goSilent(const std::string& why) {
        if (!silent_) say(why);
        silent_ = true;
        feeder_.stop();
        playedOut_.stop();
        release_.stop();
        mixer_.clear();
    }

    static void say(const std::string& what) { std::fprintf(stderr, "squeakrun: %s\n", what.c_str()); }

    std::filesystem::path folder_;
    std::array<std::vector<std::int16_t>, kCueNames.size()> sounds_;
    QAudioSink* sink_ = nullptr;
    QIODevice* out_ = nullptr;
    // Children, so that they move to the sound thread with the voices.
    QTimer feeder_{this}, playedOut_{this}, release_{this};
    Mixer mixer_;
    std::vector<std::int16_t> out16_;
    bool silent_ = false;
};

Speaker::Speaker(const std::filesystem::path& folder)
    : thread_(std::make_unique<QThread>()), voices_(new Voices(folder)) {
    thread_->setObjectName(QStringLiteral("sound"));
    voices_->moveToThread(thread_.get());
    QObject::connect(thread_.get(), &QThread::finished, voices_, &QObject::deleteLater);
    thread_->start();
    QMetaObject::invokeMethod(
        voices_, [v = voices_] { v->load(); }, Qt::QueuedConnection);
}

Speaker::~Speaker() {
    // A sound server that hangs must not hang the game's exit with it.
    if (!finishOrLeave(thread_, std::chrono::seconds(1)))
        std::fprintf(stderr, "squeakrun: the sound server does not answer; the game ends without it\n");
}

bool finishOrLeave(std::unique_ptr<QThread>& thread, std::chrono::milliseconds grace) {
    thread->quit();
    if (thread->wait(QDeadlineTimer(grace))) {
        thread.reset();
        return true;
    }
    // Destroying a thread that still runs would abort the program: the thread object goes with it.
    static_cast<void>(thread.release());
    return false;
}

bool Speaker::chosenOn() {
    return playersChoices().value(kSoundKey, true).toBool();
}

void Speaker::choose(bool on) {
    playersChoices().setValue(kSoundKey, on);
}

void Speaker::play(Cue cue) {
    qCDebug(lcSound, "cue %s%s", cueName(cue).data(), muted_ ? " (muted)" : "");
    if (muted_) return;
    QMetaObject::invokeMethod(
        voices_, [v = voices_, cue] { v->play(cue); }, Qt::QueuedConnection);
}

} // namespace squeakrun::qt

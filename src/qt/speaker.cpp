#include "qt/speaker.h"

#include "qt/mixer.h"
#include "qt/qt_platform.h"
#include "qt/sdl_parts.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTimer>

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <future>
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
// into which SDL's audio thread mixes the sounds that are playing, a period at a time. Several sound at
// once, a cue that comes again while its last sound still plays sounds again from its start, and a new
// sound goes out with the next period. A stream is opened for a sound (in a few ms, and then it plays
// at once) and given up as soon as the last sound has played out: a running stream wakes its thread
// every period, silence or not, so an idle speaker holds none.
class Voices : public QObject {
  public:
    explicit Voices(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~Voices() override {
        giveUp();
        stopSdl();
    }

    void load() {
        if (!startSdlPart(SDL_INIT_AUDIO))
            return goSilent(std::string(kNoDevice) + " (" + SDL_GetError() + ")");
        started_ = true;
        std::string missing;
        for (std::size_t c = 0; c < kCueNames.size(); ++c) {
            const std::filesystem::path file = folder_ / (std::string(kCueNames[c]) + ".wav");
            if (!readWave(file, sounds_[c])) missing += ' ' + file.string();
        }
        if (!missing.empty()) say("these sounds are missing or unreadable and stay silent:" + missing);
        release_.setSingleShot(true);
        connect(&release_, &QTimer::timeout, this, &Voices::release);
        // Where no device is listed (no sound server, only a sound system with no card), one stream
        // opened tells at once whether there is sound at all, before SDL watches for devices in vain.
        if (SDL_GetNumAudioDevices(0) <= 0 && open()) giveUp();
    }

    void play(Cue cue) {
        const std::vector<std::int16_t>& sound = sounds_[static_cast<std::size_t>(cue)];
        if (silent_ || !started_ || sound.empty() || !open()) return;
        SDL_LockAudioDevice(device_);
        mixer_.play(sound);
        const std::size_t left = mixer_.framesLeft();
        SDL_UnlockAudioDevice(device_);
        SDL_PauseAudioDevice(device_, 0);
        release_.start(millis(left) + kReleaseMs);
    }

  private:
    static constexpr int kRate = 22050;
    // The period SDL's audio thread mixes at a time (12 ms), which is also what the stream asks the
    // server to hold: a new sound waits for at most the period being played and the one queued.
    static constexpr int kPeriodFrames = 256;
    // How long a stream is kept after its last sound has been mixed: the two periods still on their way
    // to the server. A stream that has nothing to play costs a wake-up a period, so it goes; a fresh
    // one starts playing as soon as it is open, where a running one makes a sound wait for its period.
    static constexpr int kReleaseMs = 2 * kPeriodFrames * 1000 / kRate;
    static constexpr auto kNoDevice = "no sound device was found, so the game plays without sound";
    static constexpr auto kServerGone = "the sound server went away, so the game plays on without sound";

    static int millis(std::size_t frames) { return static_cast<int>(frames * 1000 / kRate); }

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

    // On SDL's audio thread, with the device locked: the next period of the sounds playing.
    static void SDLCALL fill(void* voices, Uint8* stream, int bytes) {
        static_cast<Voices*>(voices)->mixer_.mix(
            {reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(bytes) / 2});
    }

    // The stream, opened unless it is; a stream that cannot be opened (no device at all, or a sound
    // server gone since the last one) silences the game.
    bool open() {
        if (device_) return true;
        SDL_AudioSpec wanted{};
        wanted.freq = kRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 1;
        wanted.samples = kPeriodFrames;
        wanted.callback = &Voices::fill;
        wanted.userdata = this;
        // Asked for nothing back: SDL converts to whatever the device plays.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (!device_) {
            goSilent(everOpened_ ? kServerGone : std::string(kNoDevice) + " (" + SDL_GetError() + ")");
            return false;
        }
        everOpened_ = true;
        qCDebug(lcSound, "stream opened");
        return true;
    }

    // The last sound's time is up: the stream goes, unless a stalled server has kept a sound from playing
    // out, or the server has gone (SDL stops a stream it can no longer write).
    void release() {
        if (SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) return goSilent(kServerGone);
        SDL_LockAudioDevice(device_);
        const std::size_t left = mixer_.framesLeft();
        SDL_UnlockAudioDevice(device_);
        if (left > 0) return release_.start(millis(left) + kReleaseMs);
        giveUp();
    }

    // Closing a stream waits until the server asks for more, which a server holding seconds of sound
    // ahead (a null sink does) may not do for seconds: the stream, silenced at once, closes on a thread
    // of its own, and the next sound opens a new one meanwhile.
    void giveUp() {
        if (!device_) return;
        SDL_PauseAudioDevice(device_, 1); // once it returns, SDL's audio thread leaves the mixer alone
        mixer_.clear();
        std::erase_if(closing_, [](const std::future<void>& c) {
            return c.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        });
        closing_.push_back(std::async(std::launch::async, SDL_CloseAudioDevice, device_));
        device_ = 0;
        qCDebug(lcSound, "stream given up");
    }

    // For good: SDL's audio part goes too, so that its watch for new devices wakes nothing.
    void goSilent(const std::string& why) {
        if (!silent_) say(why);
        silent_ = true;
        release_.stop();
        giveUp();
        stopSdl();
    }

    // Once the streams given up have closed: SDL would close them a second time.
    void stopSdl() {
        closing_.clear();
        if (started_) stopSdlPart(SDL_INIT_AUDIO);
        started_ = false;
    }

    static void say(const std::string& what) { std::fprintf(stderr, "squeakrun: %s\n", what.c_str()); }

    std::filesystem::path folder_;
    std::array<std::vector<std::int16_t>, kCueNames.size()> sounds_;
    bool started_ = false; // SDL's audio part
    SDL_AudioDeviceID device_ = 0;
    bool everOpened_ = false;
    std::vector<std::future<void>> closing_; // streams given up, waited for when the voices go
    QTimer release_{this};                   // a child, so that it moves to the sound thread with the voices
    Mixer mixer_;                            // shared with SDL's audio thread under the device's lock
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

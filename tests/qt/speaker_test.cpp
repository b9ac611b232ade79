// What the speaker hands the sound server: sounds that overlap add up, a cue that comes again while its
// sound plays starts it afresh over a short fade instead of piling up, and the sum never wraps round.
// At the end a sound thread that hangs is left behind, never killed.
#include "qt/mixer.h"
#include "qt/speaker.h"

#include <QTest>

#include <algorithm>
#include <atomic>
#include <cstdlib>

using squeakrun::qt::Mixer;

class SpeakerTest : public QObject {
    Q_OBJECT
  private slots:
    void overlappingSoundsAddUpThenSilence() {
        const Mixer::Sound longer(100, 1000), shorter(50, 2000);
        Mixer mixer;
        mixer.play(longer);
        mixer.play(shorter);
        QCOMPARE(mixer.framesLeft(), std::size_t{100});
        std::vector<std::int16_t> out(120);
        mixer.mix(out);
        QCOMPARE(out[0], std::int16_t{3000});
        QCOMPARE(out[49], std::int16_t{3000});
        QCOMPARE(out[50], std::int16_t{1000});
        QCOMPARE(out[99], std::int16_t{1000});
        QCOMPARE(out[100], std::int16_t{0});
        QCOMPARE(mixer.framesLeft(), std::size_t{0});
    }

    void aSoundCuedAgainStartsAfreshAsTheLastFadesOut() {
        const Mixer::Sound sound(1000, 10000);
        Mixer mixer;
        std::vector<std::int16_t> out(300);
        mixer.play(sound);
        mixer.mix(out);
        mixer.play(sound);
        QCOMPARE(mixer.framesLeft(), std::size_t{1000});
        out.resize(1000);
        mixer.mix(out);
        // Both at first, the old one gone within the fade, and no step larger than the fade's.
        QCOMPARE(out[0], std::int16_t{20000});
        for (std::size_t i = 1; i < out.size(); ++i)
            QVERIFY(std::abs(out[i] - out[i - 1]) <= 10000 / static_cast<int>(Mixer::kFadeFrames) + 1);
        QCOMPARE(out[Mixer::kFadeFrames], std::int16_t{10000});
        QCOMPARE(out[999], std::int16_t{10000});
        QCOMPARE(mixer.framesLeft(), std::size_t{0}); // the fresh start ends where the sound does
        // A burst of the same cue (a cue a look, far apart beside the fade) never piles up beyond two
        // sounds' worth.
        for (int k = 0; k < 10; ++k) {
            mixer.play(sound);
            out.resize(Mixer::kFadeFrames + 40);
            mixer.mix(out);
            QVERIFY(*std::ranges::max_element(out) <= 20000);
        }
    }

    void theSumIsHeldWithinSixteenBits() {
        const Mixer::Sound loud(10, 30000), quiet(10, -30000);
        Mixer mixer;
        std::vector<std::int16_t> out(10);
        for (const Mixer::Sound* s : {&loud, &quiet, &quiet, &quiet})
            mixer.play(*s);
        mixer.mix(out);
        QCOMPARE(out[0], std::int16_t{-32768});
        mixer.play(loud);
        const Mixer::Sound another(10, 30000);
        mixer.play(another);
        mixer.mix(out);
        QCOMPARE(out[0], std::int16_t{32767});
    }

    void aThreadThatHangsIsLeftToFinishNotKilled() {
        // The thread stands in a call to a sound server that does not answer, holding its locks.
        std::atomic<bool> answer{false}, done{false};
        std::unique_ptr<QThread> thread(QThread::create([&] {
            while (!answer)
                QThread::msleep(1);
            done = true;
        }));
        QThread* left = thread.get();
        thread->start();
        QVERIFY(!squeakrun::qt::finishOrLeave(thread, std::chrono::milliseconds(20)));
        QVERIFY(!thread);
        QVERIFY(left->isRunning());
        // When the server answers at last, the thread goes on to the end of what it was doing.
        answer = true;
        QVERIFY(left->wait(QDeadlineTimer(5000)));
        QVERIFY(done);
        delete left;

        std::unique_ptr<QThread> idle(new QThread);
        idle->start();
        QVERIFY(squeakrun::qt::finishOrLeave(idle, std::chrono::seconds(5)));
        QVERIFY(!idle);
    }
};

QTEST_MAIN(SpeakerTest)
#include "speaker_test.moc"

// Whole frames rendered to images and probed at computed points; a few are saved as PNG under
// the build tree (screenshots/) for a person to look at.
#include "PaintScenes.h"
#include "display/FramePainter.h"
#include "display/PaintStyle.h"
#include "display/ViewPainter.h"
#include "game/CommandIds.h"
#include "game/EngineRig.h"
#include "geometry/KeyboardGeometry.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace tessimo;
using namespace tessimo::testing;

namespace {

// Device pixel of a logical point under the mapping for a client size (pixel centres).
QPoint devicePixel(double x, double y, QSize client) {
    return QPoint(static_cast<int>(x * client.width() / LogicalWidth),
                  static_cast<int>(y * client.height() / LogicalHeight));
}

bool isDark(QRgb pixel) {
    return qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

bool near(QRgb a, QRgb b, int tolerance = 12) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QRgb pixelAt(const QImage& image, double x, double y, QSize client) {
    return image.pixel(devicePixel(x, y, client));
}

// Whether some pixel within `radius` device pixels vertically of the logical point is dark.
bool darkNear(const QImage& image, double x, double y, QSize client, int radius = 2) {
    const QPoint p = devicePixel(x, y, client);
    for (int dy = -radius; dy <= radius; ++dy) {
        if (p.y() + dy >= 0 && p.y() + dy < image.height() &&
            isDark(image.pixel(p.x(), p.y() + dy))) {
            return true;
        }
    }
    return false;
}

// Equal images, but for the last bit of antialiasing: large glyphs (the brace) are filled with
// an occasional difference of one level from one rendering to the next. Anything left behind
// by a previous frame differs by far more.
bool sameUpToRounding(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (!near(lineA[x], lineB[x], 2)) {
                qWarning("first difference at %d,%d: %08x %08x", x, y, lineA[x], lineB[x]);
                return false;
            }
        }
    }
    return true;
}

// Pixels within the device rectangle of the logical one that are close to colour.
int countNear(const QImage& image, QRect logical, QRgb colour, QSize client) {
    const QRect area(devicePixel(logical.left(), logical.top(), client),
                     devicePixel(logical.right(), logical.bottom(), client));
    int n = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y) {
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right());
             ++x) {
            n += near(image.pixel(x, y), colour, 20) ? 1 : 0;
        }
    }
    return n;
}

QString screenshotDir() {
    const QString dir =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots");
    QDir().mkpath(dir);
    return QDir(dir).absolutePath();
}

} // namespace

class FramePaintingTest : public QObject {
    Q_OBJECT

private slots:
    void staffLinesLieWhereEachLayoutPutsThem_data();
    void staffLinesLieWhereEachLayoutPutsThem();
    void keyboardShowsSelectionAndHighlight();
    void noteHeadsCarryTheirModeColours();
    void recognizeNoticesShowAndLeaveNothingBehind();
    void staticLayerIsReusedUntilSizeOrSelectionChanges();
    void highDensityFramesFillEveryPhysicalPixel();
    void restoringOnlyWhatChangedMatchesAFreshFrame();
    void clippedPaintCopiesOnlyTheInvalidPart();
    void viewPaintOnlyReadsTheEngine();
    void screenshotsOfEveryMode();
};

void FramePaintingTest::staffLinesLieWhereEachLayoutPutsThem_data() {
    QTest::addColumn<int>("staff");
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QList<int>>("gaps");
    QTest::newRow("treble") << int(SceneStaff::Treble) << QList<int>{732, 866, 1000, 1134, 1268}
                            << QList<int>{799, 1201, 1500};
    QTest::newRow("both") << int(SceneStaff::Both) << QList<int>{330, 598, 866, 1134, 1402, 1670}
                          << QList<int>{1000, 700, 1550};
    QTest::newRow("bass") << int(SceneStaff::Bass) << QList<int>{732, 866, 1000, 1134, 1268}
                          << QList<int>{799, 1201, 500};
}

void FramePaintingTest::staffLinesLieWhereEachLayoutPutsThem() {
    QFETCH(int, staff);
    QFETCH(QList<int>, lines);
    QFETCH(QList<int>, gaps);
    const QSize client(1000, 600);
    FramePainter painter;
    const FrameState scene =
        emptyScene(GameMode::PlayNotes, SceneStaff(staff), settingsFor(SceneStaff(staff)));
    painter.compose(client, 1.0, scene);
    const QImage& frame = painter.frame();
    for (const int y : lines) {
        QVERIFY2(darkNear(frame, 600, y, client), qPrintable(QStringLiteral("line at %1").arg(y)));
        QVERIFY(darkNear(frame, 1900, y, client));
        // Lines stop at x 1960.
        QVERIFY(!darkNear(frame, 1985, y, client));
    }
    for (const int y : gaps) {
        QVERIFY2(!darkNear(frame, 600, y, client, 1),
                 qPrintable(QStringLiteral("gap at %1").arg(y)));
    }
}

void FramePaintingTest::keyboardShowsSelectionAndHighlight() {
    const QSize client(1000, 600);
    FramePainter painter;
    FrameState scene =
        emptyScene(GameMode::PlayNotes, SceneStaff::Treble, settingsFor(SceneStaff::Treble));
    scene.table[61].selected = true; // one selected black key
    scene.highlightPitch = 67;
    painter.compose(client, 1.0, scene);
    const QImage& frame = painter.frame();
    const auto centreOf = [](const KeyRect& key, int y) {
        return QPointF((key.left + key.right) / 2.0, y);
    };
    // White keys low on the key, black keys in their upper part.
    const QPointF c2 = centreOf(keyRect(36), 3100);
    const QPointF c4 = centreOf(keyRect(60), 3100);
    QVERIFY(near(pixelAt(frame, c2.x(), c2.y(), client), UnselectedWhiteKey, 3));
    QVERIFY(near(pixelAt(frame, c4.x(), c4.y(), client), SelectedWhiteKey, 3));
    const QPointF cSharp4 = centreOf(keyRect(61), 2400);
    const QPointF cSharp2 = centreOf(keyRect(37), 2400);
    QVERIFY(near(pixelAt(frame, cSharp4.x(), cSharp4.y(), client), SelectedBlackKey, 3));
    QVERIFY(near(pixelAt(frame, cSharp2.x(), cSharp2.y(), client), UnselectedBlackKey, 3));
    // The highlighted G in green, its black neighbours repainted over it.
    const QPointF g4 = centreOf(keyRect(67), 3000);
    QVERIFY(near(pixelAt(frame, g4.x(), g4.y(), client), NoteGreen, 3));
    const QPointF fSharp = centreOf(keyRect(66), 2300);
    QVERIFY(near(pixelAt(frame, fSharp.x(), fSharp.y(), client), UnselectedBlackKey, 3));
    // The highlighted note at x 1000 on its line, green inside the head.
    QVERIFY(near(pixelAt(frame, 1000, scene.table[67].glyph.staffY, client), NoteGreen, 3));

    // In Play chords a key played stands right of the placed chord, which stays as it was.
    FrameState chords =
        emptyScene(GameMode::PlayChords, SceneStaff::Treble, settingsFor(SceneStaff::Treble));
    chords.highlightPitch = 64;
    FramePainter chordPainter;
    chordPainter.compose(client, 1.0, chords);
    const int y = chords.table[64].glyph.staffY;
    QVERIFY(near(pixelAt(chordPainter.frame(), 1500, y, client), NoteGreen, 3));
    QVERIFY(!near(pixelAt(chordPainter.frame(), 1000, y, client), NoteGreen, 3));
    QVERIFY(near(pixelAt(chordPainter.frame(), centreOf(keyRect(64), 3000).x(), 3000, client),
                 NoteGreen, 3));
}

void FramePaintingTest::noteHeadsCarryTheirModeColours() {
    const QSize client(1200, 800);
    FramePainter painter;
    const FrameState scene = busyScene(GameMode::Recognize, SceneStaff::Treble);
    const int expected = painter.compose(client, 1.0, scene);
    const QImage& frame = painter.frame();
    QCOMPARE(expected, scene.questionNotes[2].glyph.pitch);
    const auto headColour = [&](const ListNote& note) {
        return pixelAt(frame, note.x, note.glyph.staffY, client);
    };
    QVERIFY(near(headColour(scene.questionNotes[0]), NoteGreen));
    QVERIFY(near(headColour(scene.questionNotes[2]), HintBlue));
    QVERIFY(isDark(headColour(scene.questionNotes[4])));
    // The wrong answer is drawn in red at the question's x, on its own line.
    QVERIFY(near(
        pixelAt(frame, scene.questionNotes[2].x, scene.table[scene.wrongMark].glyph.staffY, client),
        WrongRed));
}

void FramePaintingTest::recognizeNoticesShowAndLeaveNothingBehind() {
    const QSize client(1200, 800);
    FrameState scene = busyScene(GameMode::Recognize, SceneStaff::Treble);
    scene.wrongMark = -1;
    FramePainter fresh;
    fresh.compose(client, 1.0, scene);
    const QImage plain = fresh.frame().copy();

    FramePainter painter;
    painter.compose(client, 1.0, scene);
    // "?" in the question's colour, in the question note's column.
    scene.sayAgain = true;
    painter.compose(client, 1.0, scene);
    const ListNote& question = scene.questionNotes[2];
    const QRect column(question.x - 150, 0, 300, LogicalHeight);
    QVERIFY(countNear(painter.frame(), column, HintBlue, client) >
            countNear(plain, column, HintBlue, client) + 30);
    // Elsewhere nothing changed: the mark is not over another note.
    const ListNote& later = scene.questionNotes[4];
    const QRect otherColumn(later.x - 100, 0, 200, LogicalHeight);
    QCOMPARE(countNear(painter.frame(), otherColumn, HintBlue, client),
             countNear(plain, otherColumn, HintBlue, client));

    // "Quiet please" in red at the top left, above where the notes enter.
    scene.sayAgain = false;
    scene.quietPlease = true;
    painter.compose(client, 1.0, scene);
    const QRect topLeft(100, 250, 1500, 350);
    QVERIFY(countNear(painter.frame(), topLeft, WrongRed, client) >
            countNear(plain, topLeft, WrongRed, client) + 100);
    // Outside Recognize the notice is not drawn.
    FrameState other = busyScene(GameMode::NotesDictation, SceneStaff::Treble);
    FramePainter dictation;
    dictation.compose(client, 1.0, other);
    const int without = countNear(dictation.frame(), topLeft, WrongRed, client);
    other.quietPlease = true;
    dictation.compose(client, 1.0, other);
    QCOMPARE(countNear(dictation.frame(), topLeft, WrongRed, client), without);

    // Both notices gone, the frame is the plain one again.
    scene.quietPlease = false;
    painter.compose(client, 1.0, scene);
    QVERIFY(sameUpToRounding(painter.frame(), plain));
}

void FramePaintingTest::staticLayerIsReusedUntilSizeOrSelectionChanges() {
    FramePainter painter;
    FrameState scene = busyScene(GameMode::NotesDictation, SceneStaff::Both);
    painter.compose(QSize(800, 500), 1.0, scene);
    scene.questionNotes[3].x -= 8;
    scene.hoverPitch = 50;
    painter.compose(QSize(800, 500), 1.0, scene);
    QCOMPARE(painter.staticRebuilds(), 1);
    QCOMPARE(painter.cache().renderCount(Picture::TrebleClef), 1);

    scene.table[50].selected = !scene.table[50].selected;
    painter.compose(QSize(800, 500), 1.0, scene);
    QCOMPARE(painter.staticRebuilds(), 2);
    // Same size: the clef pictures are not rendered again.
    QCOMPARE(painter.cache().renderCount(Picture::TrebleClef), 1);

    painter.compose(QSize(900, 500), 1.0, scene);
    QCOMPARE(painter.staticRebuilds(), 3);
    QCOMPARE(painter.cache().renderCount(Picture::TrebleClef), 2);

    // The brace belongs to the static picture of Listen notes with both staves.
    scene.mode = GameMode::ListenNotes;
    painter.compose(QSize(900, 500), 1.0, scene);
    QCOMPARE(painter.staticRebuilds(), 4);
}

void FramePaintingTest::highDensityFramesFillEveryPhysicalPixel() {
    const QSize client(600, 400);
    FramePainter painter;
    const FrameState scene =
        emptyScene(GameMode::PlayNotes, SceneStaff::Treble, settingsFor(SceneStaff::Treble));
    painter.compose(client, 2.0, scene);
    const QImage& frame = painter.frame();
    QCOMPARE(frame.size(), QSize(1200, 800));
    // Bottom staff line at logical 1268: physical y 1268 * 800 / 3200 = 317.
    const auto darkRowNear = [&frame](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy) {
            if (isDark(frame.pixel(x, y + dy))) {
                return true;
            }
        }
        return false;
    };
    QVERIFY(darkRowNear(900, 317));
    QVERIFY(!darkRowNear(900, 300));
    // The treble clef covers x 50..122 (physical 30..73) around the G line.
    int ink = 0;
    for (int x = 30; x < 74; ++x) {
        for (int y = 170; y < 370; ++y) {
            ink += isDark(frame.pixel(x, y)) ? 1 : 0;
        }
    }
    QVERIFY2(ink > 1000, qPrintable(QString::number(ink)));
    // Keyboard reaches the bottom right of the physical image.
    QVERIFY(near(frame.pixel(1180, 790), UnselectedWhiteKey, 3) ||
            near(frame.pixel(1180, 790), SelectedWhiteKey, 3));
}

void FramePaintingTest::restoringOnlyWhatChangedMatchesAFreshFrame() {
    const QSize client(900, 640);
    const GameMode modes[] = {GameMode::ListenNotes,     GameMode::PlayNotes,
                              GameMode::NotesDictation,  GameMode::PlayIntervals,
                              GameMode::ChordsDictation, GameMode::Record,
                              GameMode::RecordReplay,    GameMode::Recognize};
    for (const GameMode mode : modes) {
        FrameState scene = busyScene(mode, SceneStaff::Both);
        FramePainter reused;
        reused.compose(client, 1.0, scene);
        // Notes scroll, a placement moves, a counter changes, the record position advances.
        for (ListNote& note : scene.questionNotes) {
            note.x -= 40;
        }
        for (ListNote& note : scene.answerGroup) {
            note.glyph = listNote(scene, note.glyph.pitch + 2, note.x).glyph;
        }
        scene.hoverPitch = 70;
        scene.highlightPitch = 48;
        scene.okCount += 1;
        scene.recordPosition = -2;
        scene.currentWord = 62;
        reused.compose(client, 1.0, scene);
        FramePainter fresh;
        fresh.compose(client, 1.0, scene);
        QVERIFY2(sameUpToRounding(reused.frame(), fresh.frame()),
                 qPrintable(QStringLiteral("mode %1").arg(int(mode))));
        // Leaving the mode leaves nothing of it behind.
        scene.mode = GameMode::Idle;
        reused.compose(client, 1.0, scene);
        fresh.compose(client, 1.0, scene);
        QVERIFY(sameUpToRounding(reused.frame(), fresh.frame()));
    }
}

void FramePaintingTest::clippedPaintCopiesOnlyTheInvalidPart() {
    const QSize client(1000, 600);
    QImage window(client, QImage::Format_RGB32);
    window.fill(Qt::magenta);
    FramePainter painter;
    FrameState scene = busyScene(GameMode::Record, SceneStaff::Treble);
    scene.recordPosition = -2;
    QPainter target(&window);
    target.setClipRect(QRect(0, 0, 300, 400));
    painter.paint(target, client, scene);
    target.end();
    QVERIFY(window.pixel(299, 399) != QColor(Qt::magenta).rgb());
    QCOMPARE(window.pixel(301, 100), QColor(Qt::magenta).rgb());
    QCOMPARE(window.pixel(100, 401), QColor(Qt::magenta).rgb());
    // The countdown digit is inside the copied corner: red ink near (200, 100) logical.
    bool red = false;
    for (int x = 100; x < 200 && !red; ++x) {
        for (int y = 19; y < 90 && !red; ++y) {
            red = near(window.pixel(x, y), WrongRed, 40);
        }
    }
    QVERIFY(red);
}

void FramePaintingTest::viewPaintOnlyReadsTheEngine() {
    EngineRig rig;
    SettingsRecord settings = settingsFor(SceneStaff::Treble);
    settings.durations.fill(0);
    settings.durations[5] = 1;
    rig.view.settings() = settings;
    rig.view.settings().buildDurationList();
    rig.view.prepareExercise();
    ViewPainter painter;
    const QSize client(1000, 600);
    QImage window(client, QImage::Format_RGB32);
    const auto paint = [&] {
        QPainter target(&window);
        painter.paint(target, client, rig.view);
    };
    paint();
    QCOMPARE(int(rig.view.gameMode()), int(GameMode::PlayNotes));
    QVERIFY(darkNear(window, 600, 732, client));

    // Listen notes: the tick sounds the first note; paints sound nothing and draw it green.
    QVERIFY(rig.view.onCommand(ListenNotesCommand));
    const std::size_t before = rig.midi.notes().size();
    rig.view.onTimer(1);
    QVERIFY(!rig.view.questionNotes().empty());
    QCOMPARE(rig.midi.notes().size(), before + 1);
    paint();
    paint();
    QCOMPARE(rig.midi.notes().size(), before + 1);
    const CNote& first = rig.view.questionNotes().front();
    QVERIFY(first.answered);
    QVERIFY(near(pixelAt(window, first.x, first.staffY, client), NoteGreen));
    const CNote& second = rig.view.questionNotes()[1];
    QVERIFY(isDark(pixelAt(window, second.x, second.staffY, client)));
}

void FramePaintingTest::screenshotsOfEveryMode() {
    const QString dir = screenshotDir();
    const struct {
        GameMode mode;
        SceneStaff staff;
        const char* name;
    } shots[] = {
        {GameMode::ListenNotes, SceneStaff::Both, "listen_notes_both"},
        {GameMode::PlayNotes, SceneStaff::Treble, "play_notes_treble"},
        {GameMode::NotesDictation, SceneStaff::Treble, "notes_dictation_treble"},
        {GameMode::PlayChords, SceneStaff::Both, "play_chords_both"},
        {GameMode::ChordsDictation, SceneStaff::Bass, "chords_dictation_bass"},
        {GameMode::Record, SceneStaff::Treble, "record_treble"},
        {GameMode::RecordReplay, SceneStaff::Both, "record_replay_both"},
        {GameMode::Recognize, SceneStaff::Both, "recognize_both"},
    };
    FramePainter painter;
    for (const auto& shot : shots) {
        const QSize client(1200, 800);
        QImage window(client, QImage::Format_RGB32);
        window.fill(Qt::magenta);
        QPainter target(&window);
        painter.paint(target, client, busyScene(shot.mode, shot.staff));
        target.end();
        // The copy covers the whole client area.
        QVERIFY(window.pixel(0, 0) != QColor(Qt::magenta).rgb());
        QVERIFY(window.pixel(1199, 799) != QColor(Qt::magenta).rgb());
        QVERIFY(window.save(dir + QLatin1Char('/') + QLatin1String(shot.name) +
                            QStringLiteral(".png")));
    }
    // A high-density window: twice the pixels, same layout.
    QImage dense(QSize(1600, 1000), QImage::Format_RGB32);
    dense.setDevicePixelRatio(2.0);
    dense.fill(Qt::magenta);
    QPainter target(&dense);
    painter.paint(target, QSize(800, 500), busyScene(GameMode::ListenNotes, SceneStaff::Both));
    target.end();
    QVERIFY(dense.pixel(1599, 999) != QColor(Qt::magenta).rgb());
    QVERIFY(dense.save(dir + QStringLiteral("/listen_notes_both_x2.png")));
}

QTEST_MAIN(FramePaintingTest)
#include "FramePaintingTest.moc"

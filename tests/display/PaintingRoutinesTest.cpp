// The drawing routines checked by what they draw: a recording device lists every line, ellipse,
// rectangle, polyline and text with its pen, brush and position in logical units.
#include "PaintScenes.h"
#include "RecordingDevice.h"
#include "display/FramePainter.h"
#include "display/KeyboardPainter.h"
#include "display/ModePainter.h"
#include "display/NotePainter.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "display/ScorePanel.h"
#include "display/StaffPainter.h"
#include "model/NoteNames.h"

#include <QPainter>
#include <QtTest>

#include <functional>

using namespace tessimo;
using namespace tessimo::testing;

namespace {

using Items = std::vector<Drawn>;

// Runs a drawing step on a fresh recording device with the view's mapping installed.
Items record(PaintCache& cache, const FrameState& state,
             const std::function<void(PaintContext&)>& draw) {
    RecordingDevice device;
    QPainter painter(&device);
    installLogicalMapping(painter, QSize(2000, 3200));
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(QColor(CompositionBrush));
    PaintContext context{painter, cache, state};
    draw(context);
    painter.end();
    return device.items();
}

Items only(const Items& items, Drawn::Kind kind) {
    Items result;
    std::copy_if(items.begin(), items.end(), std::back_inserter(result),
                 [kind](const Drawn& d) { return d.kind == kind; });
    return result;
}

Items texts(const Items& items, const QString& text) {
    Items result;
    for (const Drawn& d : only(items, Drawn::Text)) {
        if (d.text == text) {
            result.push_back(d);
        }
    }
    return result;
}

// Top of a text cell as drawn: the baseline minus the drawing font's ascent.
double textTop(const Drawn& text) {
    return text.baseline.y() - QFontMetricsF(text.font).ascent();
}

bool sameLine(const QLineF& a, const QLineF& b) {
    const auto close = [](const QPointF& p, const QPointF& q) {
        return std::abs(p.x() - q.x()) < 0.01 && std::abs(p.y() - q.y()) < 0.01;
    };
    return (close(a.p1(), b.p1()) && close(a.p2(), b.p2())) ||
           (close(a.p1(), b.p2()) && close(a.p2(), b.p1()));
}

bool hasLine(const Items& items, const QLineF& line) {
    return std::any_of(items.begin(), items.end(), [&line](const Drawn& d) {
        return d.kind == Drawn::Line && sameLine(d.line, line);
    });
}

FrameState trebleScene(GameMode mode = GameMode::PlayNotes) {
    return emptyScene(mode, SceneStaff::Treble, settingsFor(SceneStaff::Treble));
}

NoteGlyph glyph(int pitch, int code, int staffY) {
    return NoteGlyph{pitch, code, staffY};
}

} // namespace

class PaintingRoutinesTest : public QObject {
    Q_OBJECT

private slots:
    void fontsHaveTheRequestedCellHeight();
    void stavesFollowTheLayoutAndBraceOnlyInListenNotes();
    void clefsAreStretchedOntoTheirRectangles();
    void barLinesStopAtTheStavesEnd();
    void stemsGoUpOnTheRightOrDownOnTheLeft();
    void flagsDotsAndHollowHeadsFollowTheDuration();
    void ledgerLinesAndSharpSigns();
    void routinesRestorePenBrushAndFont();
    void keyboardColoursFollowTheSelection();
    void highlightRepaintsBlackNeighbours();
    void labelsAndGroups();
    void notesDictationShowsQuestionMarksAndPlacement();
    void groupDictationHidesTheRestOfTheQuestionGroup();
    void recordRowAndCountdown();
    void recognizeColoursAndWrongMark();
    void listenNotesAndPlayNotes();
    void scorePanelFollowsTheLimits();
};

void PaintingRoutinesTest::fontsHaveTheRequestedCellHeight() {
    PaintCache cache;
    QVERIFY(std::abs(cache.sharpFont().cellHeight() - 160) < 2);
    QVERIFY(std::abs(cache.labelFont().cellHeight() - 200) < 2);
    QVERIFY(std::abs(cache.braceFont().cellHeight() - 1200) < 4);
    QVERIFY(std::abs(cache.countdownFont().cellHeight() - 400) < 2);
    // Narrow fonts: an average character of the label font is about 20 units wide.
    const double average =
        cache.labelFont().width(QStringLiteral("abcdefghijklmnopqrstuvwxyz")) / 26;
    QVERIFY2(average > 15 && average < 26, qPrintable(QString::number(average)));
    QCOMPARE(QFontInfo(cache.labelFont().font()).family(), QStringLiteral("Liberation Sans"));
    for (Picture p : {Picture::TrebleClef, Picture::BassClef, Picture::Background}) {
        QVERIFY(cache.pictureValid(p));
    }
}

void PaintingRoutinesTest::stavesFollowTheLayoutAndBraceOnlyInListenNotes() {
    PaintCache cache;
    const auto linesOf = [&](SceneStaff staff, GameMode mode) {
        const FrameState scene = emptyScene(mode, staff, settingsFor(staff));
        return record(cache, scene, [](PaintContext& c) { drawStaves(c); });
    };
    const Items treble = linesOf(SceneStaff::Treble, GameMode::ListenNotes);
    QCOMPARE(only(treble, Drawn::Line).size(), std::size_t(6)); // and the play line
    for (int y : {732, 866, 1000, 1134, 1268}) {
        QVERIFY(hasLine(treble, QLineF(40, y, 1960, y)));
    }
    QCOMPARE(treble.front().pen, InkBlack);
    QCOMPARE(treble.front().penWidth, 4.0);
    QVERIFY(texts(treble, "{").empty());

    const Items both = linesOf(SceneStaff::Both, GameMode::ListenNotes);
    QCOMPARE(only(both, Drawn::Line).size(), std::size_t(11)); // and the play line
    for (int y : {330, 866, 1134, 1670}) {
        QVERIFY(hasLine(both, QLineF(40, y, 1960, y)));
    }
    const Items brace = texts(both, "{");
    QCOMPARE(brace.size(), std::size_t(1));
    QVERIFY(std::abs(brace[0].baseline.x() - 20) < 0.5);
    QVERIFY(std::abs(textTop(brace[0]) - 342) < 2);

    QVERIFY(texts(linesOf(SceneStaff::Both, GameMode::PlayNotes), "{").empty());
    const Items bass = linesOf(SceneStaff::Bass, GameMode::PlayNotes);
    QVERIFY(hasLine(bass, QLineF(40, 732, 1960, 732)));
    QVERIFY(hasLine(bass, QLineF(40, 1268, 1960, 1268)));
}

void PaintingRoutinesTest::clefsAreStretchedOntoTheirRectangles() {
    PaintCache cache;
    const auto clefs = [&](SceneStaff staff) {
        return only(record(cache, emptyScene(GameMode::PlayNotes, staff, settingsFor(staff)),
                           [](PaintContext& c) { drawClefs(c); }),
                    Drawn::Image);
    };
    const Items treble = clefs(SceneStaff::Treble);
    QCOMPARE(treble.size(), std::size_t(1));
    QCOMPARE(treble[0].rect, QRectF(50, 678, 72, 804));
    const Items both = clefs(SceneStaff::Both);
    QCOMPARE(both.size(), std::size_t(2));
    QCOMPARE(both[0].rect, QRectF(50, 276, 72, 804));
    QCOMPARE(both[1].rect, QRectF(50, 1134, 72, 402));
    const Items bass = clefs(SceneStaff::Bass);
    QCOMPARE(bass.size(), std::size_t(1));
    QCOMPARE(bass[0].rect, QRectF(50, 732, 72, 402));
}

void PaintingRoutinesTest::barLinesStopAtTheStavesEnd() {
    PaintCache cache;
    const FrameState both =
        emptyScene(GameMode::ListenNotes, SceneStaff::Both, settingsFor(SceneStaff::Both));
    QVERIFY(record(cache, both, [](PaintContext& c) { drawBarLine(c, 1960); }).empty());
    const Items bar = record(cache, both, [](PaintContext& c) { drawBarLine(c, 1959); });
    QCOMPARE(bar.size(), std::size_t(2));
    QVERIFY(hasLine(bar, QLineF(1959, 330, 1959, 866)));
    QVERIFY(hasLine(bar, QLineF(1959, 1134, 1959, 1670)));
    QCOMPARE(bar[0].penWidth, 2.0);
}

void PaintingRoutinesTest::stemsGoUpOnTheRightOrDownOnTheLeft() {
    PaintCache cache;
    const FrameState scene = trebleScene();
    // A quarter G4 below the treble staff's middle line: stem up on the right, 335 long.
    const Items up = record(
        cache, scene, [](PaintContext& c) { drawNote(c, glyph(67, 5, 1067), 500, NoteGreen); });
    QVERIFY(hasLine(up, QLineF(521, 1067, 521, 732)));
    const Items head = only(up, Drawn::Ellipse);
    QCOMPARE(head.size(), std::size_t(1));
    // The head with its outline of 4 units: the ellipse grown by half the pen each way.
    QCOMPARE(head[0].rect, QRectF(477, 1000, 46, 134));
    QVERIFY(!head[0].penVisible);
    QCOMPARE(head[0].brush, NoteGreen);
    QVERIFY(head[0].brushSolid);

    // B4 on the middle line: stem down on the left.
    const Items down = record(
        cache, scene, [](PaintContext& c) { drawNote(c, glyph(71, 5, 1000), 500, HintBlue); });
    QVERIFY(hasLine(down, QLineF(479, 1000, 479, 1335)));
    QVERIFY(only(down, Drawn::Polyline).empty());
}

void PaintingRoutinesTest::flagsDotsAndHollowHeadsFollowTheDuration() {
    PaintCache cache;
    const FrameState scene = trebleScene();
    // A sixteenth with its stem up: two flags from the stem top, 32 apart, pointing down.
    const Items sixteenth = record(
        cache, scene, [](PaintContext& c) { drawNote(c, glyph(67, 9, 1067), 700, InkBlack); });
    const Items flags = only(sixteenth, Drawn::Polyline);
    QCOMPARE(flags.size(), std::size_t(2));
    QCOMPARE(flags[0].points, QPolygonF({QPointF(721, 732), QPointF(734, 748), QPointF(748, 797)}));
    QCOMPARE(flags[1].points, QPolygonF({QPointF(721, 764), QPointF(734, 780), QPointF(748, 829)}));
    // Down-stem flags sit left of the stem and point up.
    const Items downFlag =
        only(record(cache, scene,
                    [](PaintContext& c) { drawNote(c, glyph(83, 7, 300), 700, InkBlack); }),
             Drawn::Polyline);
    QCOMPARE(downFlag.size(), std::size_t(1));
    QCOMPARE(downFlag[0].points,
             QPolygonF({QPointF(679, 635), QPointF(666, 619), QPointF(652, 570)}));
    // Sixty-fourths carry four flags.
    QCOMPARE(only(record(cache, scene,
                         [](PaintContext& c) { drawNote(c, glyph(67, 13, 1000), 700, InkBlack); }),
                  Drawn::Polyline)
                 .size(),
             std::size_t(4));

    // A dotted eighth: one flag and a dot right of the head.
    const Items dottedEighth = record(
        cache, scene, [](PaintContext& c) { drawNote(c, glyph(67, 6, 1000), 700, InkBlack); });
    QCOMPARE(only(dottedEighth, Drawn::Polyline).size(), std::size_t(1));
    const Items dotted = only(dottedEighth, Drawn::Ellipse);
    QCOMPARE(dotted.size(), std::size_t(2));
    QCOMPARE(dotted[1].rect, QRectF(729, 1024, 11, 30));

    // A whole note: no stem, a white inside outlined by the pen in force before the call (one
    // device pixel, black): a black ellipse half a pixel outside the inner rectangle and a white
    // one half a pixel inside it.
    const Items whole = record(
        cache, scene, [](PaintContext& c) { drawNote(c, glyph(67, 1, 1000), 700, WrongRed); });
    QVERIFY(only(whole, Drawn::Line).empty());
    const Items wholeHeads = only(whole, Drawn::Ellipse);
    QCOMPARE(wholeHeads.size(), std::size_t(3));
    QCOMPARE(wholeHeads[0].brush, WrongRed);
    QCOMPARE(wholeHeads[1].rect, QRectF(680.5, 937.5, 39, 125));
    QCOMPARE(wholeHeads[1].brush, InkBlack);
    QCOMPARE(wholeHeads[2].rect, QRectF(681.5, 938.5, 37, 123));
    QCOMPARE(wholeHeads[2].brush, HeadWhite);

    // A dotted half: stem, dot and hollow head; a dotted quarter keeps its head filled.
    const Items dottedHalf = record(
        cache, scene, [](PaintContext& c) { drawNote(c, glyph(67, 2, 1000), 700, InkBlack); });
    QCOMPARE(only(dottedHalf, Drawn::Line).size(), std::size_t(1));
    QCOMPARE(only(dottedHalf, Drawn::Ellipse).size(), std::size_t(4));
    QCOMPARE(only(dottedHalf, Drawn::Ellipse).back().brush, HeadWhite);
    const Items dottedQuarter =
        only(record(cache, scene,
                    [](PaintContext& c) { drawNote(c, glyph(67, 4, 1000), 700, InkBlack); }),
             Drawn::Ellipse);
    QCOMPARE(dottedQuarter.size(), std::size_t(2));
    QVERIFY(dottedQuarter.back().brush != HeadWhite);
}

void PaintingRoutinesTest::ledgerLinesAndSharpSigns() {
    PaintCache cache;
    FrameState scene = trebleScene();
    scene.namingConvention = German;
    const Items cSharp = record(
        cache, scene, [](PaintContext& c) { drawNote(c, glyph(61, 5, 1402), 900, HintBlue); });
    QVERIFY(hasLine(cSharp, QLineF(863, 1402, 937, 1402)));
    QCOMPARE(only(cSharp, Drawn::Line).front().pen, InkBlack); // ledger lines stay black
    const Items sign = texts(cSharp, "is");
    QCOMPARE(sign.size(), std::size_t(1));
    QCOMPARE(sign[0].pen, HintBlue);
    // Right-aligned 5 units left of the head, bottom-aligned with it.
    const double right = sign[0].baseline.x() + QFontMetricsF(sign[0].font).horizontalAdvance("is");
    QVERIFY2(std::abs(right - (879 - 5)) < 2, qPrintable(QString::number(right)));
    const double bottom = textTop(sign[0]) + QFontMetricsF(sign[0].font).height();
    QVERIFY2(std::abs(bottom - 1467) < 2, qPrintable(QString::number(bottom)));

    scene.namingConvention = Letter;
    QCOMPARE(texts(record(cache, scene,
                          [](PaintContext& c) { drawNote(c, glyph(61, 5, 1402), 900, InkBlack); }),
                   "#")
                 .size(),
             std::size_t(1));

    const auto ledgers = [&](int pitch, int y) {
        Items lines = only(
            record(cache, scene, [&](PaintContext& c) { drawNote(c, glyph(pitch, 1, y), 500, 0); }),
            Drawn::Line);
        return lines;
    };
    QCOMPARE(ledgers(83, 531).size(), std::size_t(1));
    QVERIFY(hasLine(ledgers(83, 531), QLineF(463, 598, 537, 598))); // the A5 line below the head
    QVERIFY(ledgers(79, 665).empty());
    scene = emptyScene(GameMode::PlayNotes, SceneStaff::Bass, settingsFor(SceneStaff::Bass));
    QCOMPARE(ledgers(38, 1469).size(), std::size_t(1));
    QVERIFY(hasLine(ledgers(38, 1469), QLineF(463, 1402, 537, 1402))); // the E2 line above
    QCOMPARE(ledgers(36, 1536).size(), std::size_t(2));                // E2 and its own
}

void PaintingRoutinesTest::routinesRestorePenBrushAndFont() {
    PaintCache cache;
    FrameState scene = busyScene(GameMode::ChordsDictation, SceneStaff::Both);
    RecordingDevice device;
    QPainter painter(&device);
    installLogicalMapping(painter, QSize(2000, 3200));
    const QPen pen(QColor(1, 2, 3), 7);
    const QBrush brush(QColor(4, 5, 6));
    const QFont font(QStringLiteral("Liberation Serif"), 9);
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.setFont(font);
    PaintContext context{painter, cache, scene};
    drawStaves(context);
    drawBarLine(context, 500);
    drawNote(context, glyph(61, 9, 1000), 700, WrongRed);
    drawNameLabel(context, 61, 700, WrongRed);
    drawGroup(context, scene.answerGroup, HintBlue);
    drawKeyboard(context);
    highlightKey(context, 62, NoteGreen);
    drawScorePanel(context);
    QCOMPARE(painter.pen(), pen);
    QCOMPARE(painter.brush(), brush);
    QCOMPARE(painter.font(), font);
    QCOMPARE(painter.transform(), QTransform());
    painter.end();
}

void PaintingRoutinesTest::keyboardColoursFollowTheSelection() {
    PaintCache cache;
    FrameState scene = trebleScene();
    scene.table[66].selected = true;
    const Items keys =
        only(record(cache, scene, [](PaintContext& c) { drawKeyboard(c); }), Drawn::Rect);
    QCOMPARE(keys.size(), std::size_t(48));
    QCOMPARE(keys[0].rect, QRectF(6, 2003, 71, 1197));
    QCOMPARE(keys[0].brush, UnselectedWhiteKey); // C2 is not selected in this scene
    QCOMPARE(keys[14].brush, SelectedWhiteKey);  // C4
    QCOMPARE(keys[27].rect, QRectF(6 + 71 * 27, 2003, 71, 1197));
    QCOMPARE(keys[28].rect, QRectF(53, 2003, 49, 705)); // C sharp 2
    QCOMPARE(keys[28].brush, UnselectedBlackKey);
    // F sharp 4 is the third black key of the third octave: index 28 + 10 + 2.
    QCOMPARE(keys[40].rect.left(), 53.0 + 71 * 17);
    QCOMPARE(keys[40].brush, SelectedBlackKey);
    QCOMPARE(keys[0].pen, InkBlack);
    QCOMPARE(keys[0].penWidth, 3.0);
}

void PaintingRoutinesTest::highlightRepaintsBlackNeighbours() {
    PaintCache cache;
    FrameState scene = trebleScene();
    scene.table[63].selected = true;
    const auto keysOf = [&](int pitch) {
        return only(
            record(cache, scene, [pitch](PaintContext& c) { highlightKey(c, pitch, NoteGreen); }),
            Drawn::Rect);
    };
    const Items d = keysOf(62);
    QCOMPARE(d.size(), std::size_t(3));
    QCOMPARE(d[0].rect, QRectF(6 + 497 * 2 + 71, 2003, 71, 1197));
    QCOMPARE(d[0].brush, NoteGreen);
    QCOMPARE(d[1].rect, QRectF(6 + 497 * 2 + 47, 2003, 49, 705)); // C sharp, not selected
    QCOMPARE(d[1].brush, UnselectedBlackKey);
    QCOMPARE(d[2].rect, QRectF(6 + 497 * 2 + 118, 2003, 49, 705)); // D sharp, selected
    QCOMPARE(d[2].brush, SelectedBlackKey);

    const Items c = keysOf(60);
    QCOMPARE(c.size(), std::size_t(2));
    QCOMPARE(c[1].rect.left(), 6.0 + 497 * 2 + 47);
    const Items e = keysOf(64);
    QCOMPARE(e.size(), std::size_t(2));
    QCOMPARE(e[1].rect.left(), 6.0 + 497 * 2 + 118);
    const Items sharp = keysOf(70);
    QCOMPARE(sharp.size(), std::size_t(1));
    QCOMPARE(sharp[0].rect, QRectF(6 + 497 * 2 + 402, 2003, 49, 705));
    QVERIFY(keysOf(35).empty());
    QVERIFY(keysOf(84).empty());
}

void PaintingRoutinesTest::labelsAndGroups() {
    PaintCache cache;
    FrameState scene = trebleScene(GameMode::PlayChords);
    scene.namingConvention = Solfege;
    const Items named = texts(
        record(cache, scene, [](PaintContext& c) { drawNameLabel(c, 67, 800, HintBlue); }), "SOL");
    QCOMPARE(named.size(), std::size_t(1));
    QVERIFY(std::abs(named[0].baseline.x() - 768) < 0.5);
    QVERIFY(std::abs(textTop(named[0]) - 1668) < 2);
    QCOMPARE(named[0].pen, HintBlue);
    QCOMPARE(texts(record(cache, scene, [](PaintContext& c) { drawNameLabel(c, -1, 800, 0); }), "?")
                 .size(),
             std::size_t(1));

    // Sharps after naturals; the label centred under the group.
    scene.answerGroup = {listNote(scene, 66, 1000), listNote(scene, 62, 1000),
                         listNote(scene, 69, 1080)};
    scene.displayText = "RE M";
    scene.groupSpread = 80;
    const Items group =
        record(cache, scene, [&](PaintContext& c) { drawGroup(c, scene.answerGroup, HintBlue); });
    const Items heads = only(group, Drawn::Ellipse);
    QCOMPARE(heads.size(), std::size_t(3));
    QCOMPARE(heads[0].rect.center().y(), double(scene.table[62].glyph.staffY));
    QCOMPARE(heads[1].rect.center().y(), double(scene.table[69].glyph.staffY));
    QCOMPARE(heads[2].rect.center().y(), double(scene.table[66].glyph.staffY));
    const Items label = texts(group, "RE M");
    QCOMPARE(label.size(), std::size_t(1));
    const double width = cache.groupLabelFont().width("RE M");
    QVERIFY(std::abs(label[0].baseline.x() - (40 + 1000 - int(width) / 2)) < 0.5);
    QVERIFY(record(cache, scene, [](PaintContext& c) { drawGroup(c, {}, 0); }).empty());

    // A naming convention out of range (a damaged settings file) falls back to a known one.
    scene.namingConvention = 7;
    const Items fallback = record(cache, scene, [](PaintContext& c) {
        drawNameLabel(c, 61, 800, 0);
        drawNote(c, glyph(61, 5, 1402), 800, 0);
    });
    QCOMPARE(texts(fallback, "c is").size(), std::size_t(1));
    QCOMPARE(texts(fallback, "is").size(), std::size_t(1));
    scene.namingConvention = -1;
    QCOMPARE(
        texts(record(cache, scene, [](PaintContext& c) { drawNameLabel(c, 61, 800, 0); }), "DO#")
            .size(),
        std::size_t(1));
}

void PaintingRoutinesTest::notesDictationShowsQuestionMarksAndPlacement() {
    PaintCache cache;
    FrameState scene = trebleScene(GameMode::NotesDictation);
    scene.questionNotes = {listNote(scene, 60, 400), listNote(scene, 64, 688),
                           listNote(scene, 67, 976)};
    scene.questionNotes[0].answered = true;
    int expected = 0;
    const auto draw = [&] {
        return record(cache, scene, [&](PaintContext& c) { expected = drawNotesForMode(c); });
    };
    Items items = draw();
    QCOMPARE(expected, 64);
    QCOMPARE(only(items, Drawn::Ellipse).size(), std::size_t(1)); // only the answered note
    QCOMPARE(only(items, Drawn::Ellipse)[0].brush, NoteGreen);
    Items marks = texts(items, "?");
    QCOMPARE(marks.size(), std::size_t(2));
    QCOMPARE(marks[0].pen, HintBlue);
    QVERIFY(std::abs(marks[0].baseline.x() - 656) < 0.5);
    QCOMPARE(marks[1].pen, InkBlack);
    QVERIFY(only(items, Drawn::Rect).empty());

    // The user's placement in blue with its key and name; in Voice mode without the name.
    scene.hoverPitch = 65;
    scene.namingConvention = Letter;
    items = draw();
    const Items heads = only(items, Drawn::Ellipse);
    QCOMPARE(heads.back().brush, HintBlue);
    QCOMPARE(heads.back().rect.center(), QPointF(688, scene.table[65].glyph.staffY));
    QCOMPARE(texts(items, "F").size(), std::size_t(1));
    QCOMPARE(only(items, Drawn::Rect)[0].brush, HintBlue);
    scene.soundMode = Voice;
    QVERIFY(texts(draw(), "F").empty());

    // A wrong answer replaces the placement in red.
    scene.soundMode = Synthesizer;
    scene.wrongMark = 71;
    items = draw();
    QCOMPARE(only(items, Drawn::Ellipse).back().brush, WrongRed);
    QCOMPARE(texts(items, "B").size(), std::size_t(1));
    QCOMPARE(texts(items, "B")[0].pen, WrongRed);
}

void PaintingRoutinesTest::groupDictationHidesTheRestOfTheQuestionGroup() {
    PaintCache cache;
    FrameState scene = trebleScene(GameMode::IntervalDictation);
    const auto note = [&](int pitch, int x, int group, bool answered) {
        ListNote n = listNote(scene, pitch, x);
        n.groupIndex = group;
        n.answered = answered;
        return n;
    };
    scene.questionNotes = {note(60, 400, 0, true),   note(64, 400, 1, true),
                           note(62, 700, 0, false),  note(65, 700, 1, false),
                           note(67, 1000, 0, false), note(71, 1000, 1, false)};
    scene.answerGroup = {note(62, 700, 0, false), note(69, 700, 1, false)};
    scene.displayText = "+9/2";
    Items items = record(cache, scene, [](PaintContext& c) { drawNotesForMode(c); });
    Items heads = only(items, Drawn::Ellipse);
    QCOMPARE(heads.size(), std::size_t(4)); // two answered, two of the shown group
    QCOMPARE(heads[2].brush, HintBlue);
    QCOMPARE(texts(items, "?").size(), std::size_t(2)); // the later group only
    QCOMPARE(texts(items, "+9/2").size(), std::size_t(1));

    scene.wrongGroup = {note(62, 700, 0, false), note(67, 700, 1, false)};
    heads =
        only(record(cache, scene, [](PaintContext& c) { drawNotesForMode(c); }), Drawn::Ellipse);
    QCOMPARE(heads.size(), std::size_t(4));
    QCOMPARE(heads[2].brush, WrongRed);
    QCOMPARE(heads[3].rect.center().y(), double(scene.table[67].glyph.staffY));
}

void PaintingRoutinesTest::recordRowAndCountdown() {
    PaintCache cache;
    SettingsRecord settings;
    settings.notes.fill(0);
    for (int pitch : {60, 61, 62, 64}) {
        settings.notes[pitch - 36] = 1;
    }
    settings.soundMode = Instrument;
    settings.namingConvention = Letter;
    FrameState scene = emptyScene(GameMode::Record, SceneStaff::Treble, settings);
    QCOMPARE(scene.wordCount, 4);
    scene.recordPosition = -3;
    const auto draw = [&] {
        return record(cache, scene, [](PaintContext& c) {
            drawNotesForMode(c);
            drawCountdown(c);
        });
    };
    Items items = draw();
    const Items digit = texts(items, "3");
    QCOMPARE(digit.size(), std::size_t(1));
    QCOMPARE(digit[0].pen, WrongRed);
    QVERIFY(std::abs(textTop(digit[0]) - 100) < 2);
    // No current word: the three naturals in black at 165, 230, 295; the sharp is left out.
    Items heads = only(items, Drawn::Ellipse);
    QCOMPARE(heads.size(), std::size_t(3));
    QCOMPARE(heads[0].rect.center().x(), 165.0);
    QCOMPARE(heads[2].rect.center().x(), 295.0);
    for (const Drawn& head : heads) {
        QCOMPARE(head.brush, InkBlack);
    }

    // Recording C sharp: drawn in red, and C on the same line gives way to it.
    scene.recordPosition = 1;
    scene.currentWord = 61;
    items = draw();
    QCOMPARE(only(items, Drawn::Text).size(), std::size_t(4)); // three names and a sharp sign
    heads = only(items, Drawn::Ellipse);
    QCOMPARE(heads.size(), std::size_t(3));
    QCOMPARE(heads[0].brush, WrongRed);
    QCOMPARE(heads[0].rect.center().x(), 165.0);
    QCOMPARE(texts(items, "C#").size(), std::size_t(1));
    QCOMPARE(texts(items, "C#")[0].pen, WrongRed);
    QCOMPARE(only(items, Drawn::Rect)[0].brush, WrongRed);

    scene.mode = GameMode::RecordReplay;
    scene.currentWord = 60;
    items = draw();
    QCOMPARE(only(items, Drawn::Ellipse)[0].brush, NoteGreen);
}

void PaintingRoutinesTest::recognizeColoursAndWrongMark() {
    PaintCache cache;
    FrameState scene = trebleScene(GameMode::Recognize);
    scene.questionNotes = {listNote(scene, 60, 400), listNote(scene, 64, 688),
                           listNote(scene, 67, 976)};
    scene.questionNotes[0].answered = true;
    scene.questionNotes[2].barStart = true;
    scene.wrongMark = 72;
    int expected = 0;
    const Items items =
        record(cache, scene, [&](PaintContext& c) { expected = drawNotesForMode(c); });
    QCOMPARE(expected, 64);
    const Items heads = only(items, Drawn::Ellipse);
    QCOMPARE(heads.size(), std::size_t(4));
    QCOMPARE(heads[0].brush, NoteGreen);
    QCOMPARE(heads[1].brush, WrongRed);
    QCOMPARE(heads[1].rect.center(), QPointF(688, scene.table[72].glyph.staffY));
    QCOMPARE(heads[2].brush, HintBlue);
    QCOMPARE(heads[3].brush, InkBlack);
    QVERIFY(hasLine(items, QLineF(931, 732, 931, 1268))); // clear of the head and its ledger
    QVERIFY(only(items, Drawn::Rect).empty());            // no key is highlighted
}

void PaintingRoutinesTest::listenNotesAndPlayNotes() {
    PaintCache cache;
    FrameState scene = trebleScene(GameMode::ListenNotes);
    scene.questionNotes = {listNote(scene, 60, 1000), listNote(scene, 62, 1080)};
    scene.questionNotes[0].sounding = true;
    scene.questionNotes[1].barStart = true;
    Items items = record(cache, scene, [](PaintContext& c) { drawNotesForMode(c); });
    const Items heads = only(items, Drawn::Ellipse);
    QCOMPARE(heads[0].brush, NoteGreen);
    QCOMPARE(heads[1].brush, InkBlack);
    QCOMPARE(only(items, Drawn::Text).size(), std::size_t(1));
    QCOMPARE(only(items, Drawn::Rect).size(), std::size_t(2)); // C and its neighbour C sharp
    QVERIFY(hasLine(items, QLineF(1048, 732, 1048, 1268)));    // halfway: the notes are close

    scene.mode = GameMode::PlayNotes;
    scene.highlightPitch = 255;
    QVERIFY(record(cache, scene, [](PaintContext& c) { drawNotesForMode(c); }).empty());
    scene.highlightPitch = 65;
    items = record(cache, scene, [](PaintContext& c) { drawNotesForMode(c); });
    QCOMPARE(only(items, Drawn::Ellipse)[0].rect.center(),
             QPointF(1000, scene.table[65].glyph.staffY));
    QCOMPARE(only(items, Drawn::Ellipse)[0].brush, NoteGreen);
}

void PaintingRoutinesTest::scorePanelFollowsTheLimits() {
    PaintCache cache;
    FrameState scene = trebleScene(GameMode::NotesDictation);
    scene.okCount = 7;
    scene.errorCount = 2;
    scene.unknownCount = 1;
    const auto panel = [&] {
        return record(cache, scene, [](PaintContext& c) { drawScorePanel(c); });
    };
    QVERIFY(panel().empty());
    scene.errorLimitOn = true;
    scene.maxErrors = 0;
    Items items = panel();
    QCOMPARE(items.size(), std::size_t(1));
    QCOMPARE(items[0].text, QStringLiteral("OK 7"));
    QCOMPARE(items[0].pen, NoteGreen);
    QVERIFY(std::abs(items[0].baseline.x() - 1600) < 0.5);
    QVERIFY(std::abs(textTop(items[0]) - 60) < 2);
    scene.maxErrors = 5;
    scene.unknownLimitOn = true;
    scene.maxUnknown = 4;
    items = panel();
    QCOMPARE(items.size(), std::size_t(3));
    QCOMPARE(items[0].text, QStringLiteral("Unkwn 1/4"));
    QCOMPARE(items[0].pen, HintBlue);
    QVERIFY(std::abs(items[0].baseline.x() - 200) < 0.5);
    QCOMPARE(items[1].text, QStringLiteral("Errors 2/5"));
    QCOMPARE(items[1].pen, WrongRed);
    QVERIFY(std::abs(items[1].baseline.x() - 900) < 0.5);
}

QTEST_MAIN(PaintingRoutinesTest)
#include "PaintingRoutinesTest.moc"

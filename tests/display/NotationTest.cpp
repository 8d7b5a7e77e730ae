// Notation as a reader checks it: ledger lines against the staff lines actually drawn, stem
// directions by the note's own staff, seconds side by side, bar lines clear of the notes, and
// texts clear of every note a layout can show.
#include "PaintScenes.h"
#include "RecordingDevice.h"
#include "display/FramePainter.h"
#include "display/ModePainter.h"
#include "display/NoteLayout.h"
#include "display/NotePainter.h"
#include "display/PaintCache.h"
#include "display/PaintContext.h"
#include "display/PaintStyle.h"
#include "display/ScorePanel.h"
#include "display/StaffPainter.h"
#include "model/Pitch.h"

#include <QPainter>
#include <QtTest>

#include <functional>
#include <map>
#include <set>

using namespace tessimo;
using namespace tessimo::testing;

namespace {

using Items = std::vector<Drawn>;

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

QRectF textBox(const Drawn& text) {
    const QFontMetricsF metrics(text.font);
    return QRectF(text.baseline.x(), text.baseline.y() - metrics.ascent(),
                  metrics.horizontalAdvance(text.text), metrics.height());
}

// Everything a drawn note covers: heads, stems, flags, dots (ledger lines excluded: they are
// part of the staff's grid, which texts may cross).
std::vector<QRectF> noteInk(const Items& items) {
    std::vector<QRectF> ink;
    for (const Drawn& d : items) {
        if (d.kind == Drawn::Ellipse) {
            ink.push_back(d.rect);
        } else if (d.kind == Drawn::Line && d.line.dx() == 0) {
            ink.push_back(QRectF(d.line.p1(), d.line.p2()).normalized().adjusted(-2, 0, 2, 0));
        } else if (d.kind == Drawn::Polyline) {
            ink.push_back(d.points.boundingRect());
        }
    }
    return ink;
}

bool overlaps(const QRectF& box, const std::vector<QRectF>& ink) {
    return std::any_of(ink.begin(), ink.end(),
                       [&box](const QRectF& r) { return box.intersects(r); });
}

const char* layoutName(SceneStaff staff) {
    return staff == SceneStaff::Treble ? "treble" : staff == SceneStaff::Both ? "both" : "bass";
}

// Diatonic step of the staff lines a pitch is written against, counted like diatonicStep.
struct StaffSteps {
    int bottom;
    int top;
};
StaffSteps stepsOfOwnStaff(SceneStaff staff, int pitch) {
    const StaffSteps treble{16, 24}; // E4 .. F5
    const StaffSteps bass{4, 12};    // G2 .. A3
    if (staff == SceneStaff::Both) {
        return pitch >= 60 ? treble : bass;
    }
    return staff == SceneStaff::Treble ? treble : bass;
}

} // namespace

class NotationTest : public QObject {
    Q_OBJECT

private slots:
    void ledgerLinesOfEveryPitchInEveryLayout();
    void stemsFollowTheMiddleLineOfTheNotesOwnStaff();
    void secondsStandSideBySide();
    void barLinesKeepClearOfTheNotes();
    void labelsAndScoreKeepClearOfEveryNote();
    void listenNotesShowsItsPlayLine();
};

void NotationTest::ledgerLinesOfEveryPitchInEveryLayout() {
    PaintCache cache;
    for (SceneStaff layout : {SceneStaff::Treble, SceneStaff::Both, SceneStaff::Bass}) {
        const FrameState scene = emptyScene(GameMode::PlayNotes, layout, settingsFor(layout));
        std::set<int> staffLines;
        for (const Drawn& d :
             only(record(cache, scene, [](PaintContext& c) { drawStaves(c); }), Drawn::Line)) {
            staffLines.insert(static_cast<int>(d.line.y1()));
        }
        QCOMPARE(staffLines.size(), std::size_t(layout == SceneStaff::Both ? 10 : 5));
        for (int pitch = LowestPitch; pitch <= HighestPitch; ++pitch) {
            const int y = scene.table[pitch].glyph.staffY;
            const Items lines = only(record(cache, scene,
                                            [&](PaintContext& c) {
                                                drawNote(c, NoteGlyph{pitch, 1, y}, 800, InkBlack);
                                            }),
                                     Drawn::Line);
            // Standard notation: one ledger line for every line position between the staff and
            // the note, the note's own included when it sits on one.
            const StaffSteps own = stepsOfOwnStaff(layout, pitch);
            const int step = diatonicStep(pitch);
            const int beyond = std::max(own.bottom - step, step - own.top);
            const int expected = beyond >= 2 ? beyond / 2 : 0;
            const QString where = QStringLiteral("%1 layout, pitch %2 at y %3")
                                      .arg(layoutName(layout))
                                      .arg(pitch)
                                      .arg(y);
            QVERIFY2(lines.size() == std::size_t(expected),
                     qPrintable(where + QStringLiteral(": %1 ledger lines").arg(lines.size())));
            std::set<int> ys;
            for (const Drawn& d : lines) {
                QCOMPARE(d.line.y1(), d.line.y2());
                QCOMPARE(d.line.x1(), 800.0 - 37);
                QCOMPARE(d.line.x2(), 800.0 + 37);
                QCOMPARE(d.pen, InkBlack);
                ys.insert(static_cast<int>(d.line.y1()));
            }
            if (expected == 0) {
                continue;
            }
            const bool below = step < own.bottom;
            // They continue a drawn staff line one line gap (134) beyond it, are 134 apart,
            // never lie on a staff line, and the last goes through the head or just beside it.
            const int nearest = below ? *ys.begin() - 134 : *ys.rbegin() + 134;
            QVERIFY2(staffLines.count(nearest) == 1,
                     qPrintable(where + QStringLiteral(": no staff line at %1").arg(nearest)));
            for (int ly : ys) {
                QVERIFY2(staffLines.count(ly) == 0, qPrintable(where));
            }
            for (auto it = std::next(ys.begin()); it != ys.end(); ++it) {
                QCOMPARE(*it - *std::prev(it), 134);
            }
            const int farthest = below ? *ys.rbegin() : *ys.begin();
            QVERIFY2(std::abs(farthest - y) == 0 || std::abs(farthest - y) == 67,
                     qPrintable(where));
        }
    }
    // The case a reader trips over: C2 on the bass staff needs the E2 line and its own.
    const FrameState bass =
        emptyScene(GameMode::PlayNotes, SceneStaff::Bass, settingsFor(SceneStaff::Bass));
    const Items c2 = only(record(cache, bass,
                                 [&](PaintContext& c) {
                                     drawNote(c, NoteGlyph{36, 5, 1536}, 500, InkBlack);
                                 }),
                          Drawn::Line);
    QVERIFY(std::any_of(c2.begin(), c2.end(), [](const Drawn& d) { return d.line.y1() == 1402; }));
    QVERIFY(std::any_of(c2.begin(), c2.end(), [](const Drawn& d) { return d.line.y1() == 1536; }));
}

void NotationTest::stemsFollowTheMiddleLineOfTheNotesOwnStaff() {
    PaintCache cache;
    // Whether the stem of a quarter of the pitch goes up (its x right of the head's centre).
    const auto stemGoesUp = [&](SceneStaff layout, int pitch) {
        const FrameState scene = emptyScene(GameMode::PlayNotes, layout, settingsFor(layout));
        const int y = scene.table[pitch].glyph.staffY;
        const Items items = record(cache, scene, [&](PaintContext& c) {
            drawNote(c, NoteGlyph{pitch, 5, y}, 500, 0);
        });
        for (const Drawn& d : only(items, Drawn::Line)) {
            if (d.line.dx() == 0 && d.line.length() == 335) {
                const bool up = std::min(d.line.y1(), d.line.y2()) < y;
                // Up-stems stand on the right of the head, down-stems hang on the left.
                if (up != (d.line.x1() == 521)) {
                    return -1;
                }
                return up ? 1 : 0;
            }
        }
        return -2;
    };
    // Treble: B4 on the middle line and above go down, A4 below goes up.
    QCOMPARE(stemGoesUp(SceneStaff::Treble, 71), 0);
    QCOMPARE(stemGoesUp(SceneStaff::Treble, 69), 1);
    QCOMPARE(stemGoesUp(SceneStaff::Treble, 83), 0);
    QCOMPARE(stemGoesUp(SceneStaff::Treble, 60), 1);
    // Bass: D3 is its middle line.
    QCOMPARE(stemGoesUp(SceneStaff::Bass, 50), 0);
    QCOMPARE(stemGoesUp(SceneStaff::Bass, 48), 1);
    QCOMPARE(stemGoesUp(SceneStaff::Bass, 36), 1);
    QCOMPARE(stemGoesUp(SceneStaff::Bass, 62), 0);
    // Both staves: each note by its own staff, middle C on the treble side.
    QCOMPARE(stemGoesUp(SceneStaff::Both, 71), 0);
    QCOMPARE(stemGoesUp(SceneStaff::Both, 69), 1);
    QCOMPARE(stemGoesUp(SceneStaff::Both, 60), 1);
    QCOMPARE(stemGoesUp(SceneStaff::Both, 50), 0);
    QCOMPARE(stemGoesUp(SceneStaff::Both, 48), 1);
    QCOMPARE(stemGoesUp(SceneStaff::Both, 59), 0);
}

void NotationTest::secondsStandSideBySide() {
    PaintCache cache;
    FrameState scene =
        emptyScene(GameMode::PlayChords, SceneStaff::Treble, settingsFor(SceneStaff::Treble));
    const auto heads = [&](std::initializer_list<int> pitches) {
        scene.answerGroup.clear();
        for (int p : pitches) {
            scene.answerGroup.push_back(listNote(scene, p, 1000));
        }
        const Items items =
            record(cache, scene, [&](PaintContext& c) { drawGroup(c, scene.answerGroup, 0); });
        std::map<int, double> xByY; // head centre x by head centre y
        int stems = 0;
        for (const Drawn& d : items) {
            if (d.kind == Drawn::Ellipse && d.rect.height() > 100) {
                xByY[static_cast<int>(d.rect.center().y())] = d.rect.center().x();
            }
            if (d.kind == Drawn::Line && d.line.dx() == 0 && d.line.length() == 335) {
                ++stems;
            }
        }
        return std::make_pair(xByY, stems);
    };
    const auto yOf = [&](int pitch) { return scene.table[pitch].glyph.staffY; };

    // E4-F4 below the middle line: stem up, the upper note right of the stem.
    auto [lowSecond, lowStems] = heads({64, 65});
    QCOMPARE(lowSecond[yOf(64)], 1000.0);
    QCOMPARE(lowSecond[yOf(65)], 1042.0);
    QCOMPARE(lowStems, 1);
    // C5-D5 above it: stem down, the lower note left of the stem.
    auto [highSecond, highStems] = heads({72, 74});
    QCOMPARE(highSecond[yOf(74)], 1000.0);
    QCOMPARE(highSecond[yOf(72)], 958.0);
    QCOMPARE(highStems, 1);
    // A cluster C-D-E: only the middle note moves. A triad stays in one column.
    auto [cluster, clusterStems] = heads({60, 62, 64});
    QCOMPARE(cluster[yOf(60)], 1000.0);
    QCOMPARE(cluster[yOf(62)], 1042.0);
    QCOMPARE(cluster[yOf(64)], 1000.0);
    QCOMPARE(clusterStems, 2);
    auto [triad, triadStems] = heads({60, 64, 67});
    for (const auto& [y, x] : triad) {
        QCOMPARE(x, 1000.0);
    }
    QCOMPARE(triadStems, 3);
    // A minor second on one staff position (C and C sharp) still shows two heads, side by side.
    auto [unison, unisonStems] = heads({60, 61});
    QCOMPARE(unison.size(), std::size_t(1)); // one y: the map keeps the last head, the sharp
    QCOMPARE(unison[yOf(60)], 1042.0);
    QCOMPARE(unisonStems, 1);
}

void NotationTest::barLinesKeepClearOfTheNotes() {
    PaintCache cache;
    for (SceneStaff layout : {SceneStaff::Treble, SceneStaff::Both, SceneStaff::Bass}) {
        for (GameMode mode : {GameMode::ListenNotes, GameMode::NotesDictation,
                              GameMode::ChordsDictation, GameMode::Recognize}) {
            FrameState scene = busyScene(mode, layout);
            for (ListNote& note : scene.questionNotes) {
                note.barStart = true;
                note.answered = true; // every note drawn
            }
            const Items items = record(cache, scene, [](PaintContext& c) { drawNotesForMode(c); });
            std::vector<QRectF> heads;
            for (const Drawn& d : only(items, Drawn::Ellipse)) {
                heads.push_back(d.rect); // heads and dots
            }
            for (const Drawn& d : only(items, Drawn::Text)) {
                heads.push_back(textBox(d)); // sharp signs
            }
            int bars = 0;
            for (const Drawn& d : only(items, Drawn::Line)) {
                if (d.line.dx() == 0 && d.penWidth == 2) {
                    ++bars;
                    QVERIFY2(
                        !overlaps(
                            QRectF(d.line.p1(), d.line.p2()).normalized().adjusted(-1, 0, 1, 0),
                            heads),
                        qPrintable(QStringLiteral("%1 layout, mode %3, bar line at %2")
                                       .arg(layoutName(layout))
                                       .arg(d.line.x1())
                                       .arg(int(mode))));
                }
            }
            QVERIFY(bars > 0);
        }
    }
    // With room, the bar line keeps 45 units (head, ledger line, air) before the note, and
    // moves further left by a sharp sign and its gap; a close previous note puts it halfway
    // between the two heads' ink.
    ListNote note;
    note.x = 1000;
    ListNote previous;
    previous.x = 700;
    QCOMPARE(barLineX(&previous, note, 0), 955);
    QCOMPARE(barLineX(nullptr, note, 30), 920);
    previous.x = 930;
    QCOMPARE(barLineX(&previous, note, 0), 973);
}

void NotationTest::labelsAndScoreKeepClearOfEveryNote() {
    PaintCache cache;
    for (SceneStaff layout : {SceneStaff::Treble, SceneStaff::Both, SceneStaff::Bass}) {
        FrameState scene = emptyScene(GameMode::PlayNotes, layout, settingsFor(layout));
        scene.errorLimitOn = true;
        scene.unknownLimitOn = true;
        std::vector<QRectF> scoreBoxes;
        for (const Drawn& d :
             only(record(cache, scene, [](PaintContext& c) { drawScorePanel(c); }), Drawn::Text)) {
            scoreBoxes.push_back(textBox(d));
        }
        QCOMPARE(scoreBoxes.size(), std::size_t(3));
        for (int pitch = LowestPitch; pitch <= HighestPitch; ++pitch) {
            // Only pitches the layout shows: its selection (the naturals of its range) and their
            // sharps.
            const int natural = isBlackKey(pitch) ? pitch - 1 : pitch;
            if (!scene.table[natural].selected) {
                continue;
            }
            scene.highlightPitch = pitch;
            const Items items = record(cache, scene, [](PaintContext& c) { drawNotesForMode(c); });
            const std::vector<QRectF> ink = noteInk(items);
            const QString where =
                QStringLiteral("%1 layout, pitch %2").arg(layoutName(layout)).arg(pitch);
            int labels = 0;
            for (const Drawn& d : only(items, Drawn::Text)) {
                if (d.text == "#" || d.text == "is") {
                    continue;
                }
                ++labels;
                const QRectF box = textBox(d);
                QVERIFY2(!overlaps(box, ink), qPrintable(where + " label " + d.text));
                QVERIFY2(box.top() >= 0 && box.bottom() <= 2000, qPrintable(where));
            }
            QCOMPARE(labels, 1);
            for (const QRectF& box : scoreBoxes) {
                // The score spans the width, so no x of a scrolling note is safe: check rows.
                for (const QRectF& r : ink) {
                    QVERIFY2(box.bottom() <= r.top() || box.top() >= r.bottom(),
                             qPrintable(where + " against the score"));
                }
            }
        }
    }
}

void NotationTest::listenNotesShowsItsPlayLine() {
    PaintCache cache;
    for (SceneStaff layout : {SceneStaff::Treble, SceneStaff::Both, SceneStaff::Bass}) {
        const auto playLines = [&](GameMode mode) {
            const FrameState scene = emptyScene(mode, layout, settingsFor(layout));
            Items found;
            for (const Drawn& d :
                 only(record(cache, scene, [](PaintContext& c) { drawStaves(c); }), Drawn::Line)) {
                if (d.line.dx() == 0 && d.line.x1() == 1000) {
                    found.push_back(d);
                }
            }
            return found;
        };
        const Items listen = playLines(GameMode::ListenNotes);
        QCOMPARE(listen.size(), std::size_t(1));
        const QRectF span = QRectF(listen[0].line.p1(), listen[0].line.p2()).normalized();
        // Across every shown staff, and beyond them.
        const int top = layout == SceneStaff::Both ? 330 : 732;
        const int bottom = layout == SceneStaff::Both ? 1670 : 1268;
        QVERIFY(span.top() < top && span.bottom() > bottom);
        QVERIFY(playLines(GameMode::PlayNotes).empty());
        QVERIFY(playLines(GameMode::NotesDictation).empty());
    }
}

QTEST_MAIN(NotationTest)
#include "NotationTest.moc"

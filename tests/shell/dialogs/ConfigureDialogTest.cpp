#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <vector>

#include "model/NoteNames.h"
#include "model/SettingsRecord.h"
#include "shell/dialogs/CConfigureDialog.h"
#include "shell/dialogs/ConfigureIds.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/SpinArrows.h"
#include "shell/dialogs/SvgPicture.h"

using namespace tessimo;
using namespace tessimo::configure;
using tessimo::testing::runModal;

namespace {

// Black keys among the 24 offsets of a note set.
bool isAccidental(int offset) {
    for (int a : AccidentalOffsets) {
        if (a == offset) {
            return true;
        }
    }
    return false;
}

// As a user choosing an entry: the list changes and says it was chosen.
void choose(QComboBox* list, int row) {
    list->setCurrentIndex(row);
    emit list->activated(row);
}

} // namespace

class ConfigureDialogTest : public QObject {
    Q_OBJECT

private:
    SettingsRecord settings_;

    QCheckBox* box(CConfigureDialog& d, int id) { return d.control<QCheckBox>(id); }
    int checkedChords(CConfigureDialog& d) {
        int n = 0;
        for (int j = 0; j < 10; ++j) {
            n += d.chordBox(j)->isChecked() ? 1 : 0;
        }
        return n;
    }
    QRadioButton* radio(CConfigureDialog& d, int id) { return d.control<QRadioButton>(id); }
    QPushButton* button(CConfigureDialog& d, int id) { return d.control<QPushButton>(id); }

    // The message a refused OK shows, dismissed; the focus is back in edit.
    void dismissRefusal(CConfigureDialog& d, int edit, const QString& says) {
        QVERIFY(d.isVisible());
        auto* message = d.findChild<QMessageBox*>(QStringLiteral("integerMessage"));
        QVERIFY(message != nullptr);
        QVERIFY(message->isVisible());
        QVERIFY2(message->text().contains(says), qPrintable(message->text()));
        message->button(QMessageBox::Ok)->click();
        QCoreApplication::processEvents();
        QCOMPARE(d.focusWidget(), d.control(edit));
    }

private slots:
    void init() { settings_ = SettingsRecord{}; }

    void everyControlCarriesItsId() {
        CConfigureDialog d(settings_);
        std::vector<int> ids = {
            NamingSolfege,    NamingLetter,      NamingGerman,    ClefTreble,     ClefBass,
            ModeVoice,        ModeInstrument,    ModeSynthesizer, SharpLabel,     NotesAll,
            NotesNone,        KeyList,           Sustain,         InstrumentList, PreviewBeats,
            PreviewUnit,      SpeedSlider,       DurationsAll,    DurationsNone,  IntervalsAll,
            IntervalsNone,    IntervalsTogether, IntervalsUp,     IntervalsDown,  DragWithMouse,
            WheelChangesType, SelectedNotesOnly, ChordList,       ErrorLimit,     MaxErrorsEdit,
            MaxErrorsSpin,    UnknownLimit,      MaxUnknownEdit,  MaxUnknownSpin, OkButton,
            CancelButton};
        for (const auto* group : {&BassNoteIds, &TrebleNoteIds}) {
            ids.insert(ids.end(), group->begin(), group->end());
        }
        ids.insert(ids.end(), BeatValueIds.begin(), BeatValueIds.end());
        ids.insert(ids.end(), BeatsPerBarIds.begin(), BeatsPerBarIds.end());
        ids.insert(ids.end(), DurationBoxIds.begin(), DurationBoxIds.end());
        for (int id = FirstIntervalBox; id <= LastIntervalBox; ++id) {
            ids.push_back(id);
        }
        for (int id : {146, 148, 149, 150, 152, 153, 154, 155, 156, 162, 163, 164, 165, 166, 182,
                       183, 184}) {
            ids.push_back(id);
        }
        for (int id = 146; id <= 184; ++id) {
            if (auto* picture = qobject_cast<SvgPicture*>(d.control(id))) {
                QVERIFY2(picture->isValid(), qPrintable(QString::number(id)));
                QVERIFY(picture->width() > 0 && picture->height() > 0);
            }
        }
        for (int id : ids) {
            QWidget* w = d.control(id);
            QVERIFY2(w != nullptr, qPrintable(QString::number(id)));
            QCOMPARE(w->objectName(), QString::number(id));
            QCOMPARE(d.findChild<QWidget*>(QString::number(id)), w);
        }
        QCOMPARE(ids.size(), size_t{36 + 48 + 8 + 5 + 14 + 12 + 17});
        QCOMPARE(d.windowTitle(), QStringLiteral("Configuration"));
        QCOMPARE(radio(d, NamingSolfege)->text(), QStringLiteral("Do, Re, Mi ..."));
        QCOMPARE(radio(d, NamingLetter)->text(), QStringLiteral("C , D, E ..."));
        QCOMPARE(radio(d, NamingGerman)->text(), QStringLiteral("c , d, e ..."));
        QCOMPARE(box(d, Sustain)->text(), QStringLiteral("Sustain"));
        QCOMPARE(button(d, NotesAll)->text(), QStringLiteral("X"));
        QVERIFY(button(d, NotesNone)->text().isEmpty());
        QStringList titles;
        for (auto* group : d.findChildren<QGroupBox*>()) {
            titles << group->title();
        }
        titles.sort();
        QCOMPARE(titles, (QStringList{"GAME", "INTERVALS && CHORDS", "SOUNDS", "TEMPO"}));
    }

    void openingWithTheDefaultsShowsThem() {
        CConfigureDialog d(settings_);
        const int result = runModal(d, [&] {
            for (int offset = 0; offset < 24; ++offset) {
                auto* treble = box(d, TrebleNoteIds[offset]);
                QVERIFY(treble->isVisible());
                QVERIFY(!box(d, BassNoteIds[offset])->isVisible());
                QCOMPARE(treble->isChecked(), !isAccidental(offset));
                QVERIFY(treble->isEnabled());
            }
            QVERIFY(radio(d, ModeSynthesizer)->isChecked());
            QVERIFY(radio(d, ClefTreble)->isChecked());
            QVERIFY(d.control(TrebleStaff)->isVisible());
            QVERIFY(d.control(TrebleClefOnStaff)->isVisible());
            for (int hidden : {TrebleStaffFolded, BassStaff, BassStaffFolded, BassClefOnStaff}) {
                QVERIFY(!d.control(hidden)->isVisible());
            }
            auto* instruments = d.control<QComboBox>(InstrumentList);
            QCOMPARE(instruments->count(), 128);
            QCOMPARE(instruments->currentText(), QStringLiteral("Acoustic Grand Piano"));
            QVERIFY(instruments->isEnabled());
            QVERIFY(box(d, Sustain)->isEnabled());
            QVERIFY(box(d, Sustain)->isChecked());
            auto* keys = d.control<QComboBox>(KeyList);
            QCOMPARE(keys->count(), 25);
            QCOMPARE(keys->currentIndex(), 0);
            QCOMPARE(keys->currentText(), QStringLiteral("DO  Maj"));
            QCOMPARE(keys->itemText(24), QStringLiteral("Chromatique"));
            QCOMPARE(d.control<QLabel>(SharpLabel)->text(), QStringLiteral("#"));
            QCOMPARE(d.control<QLabel>(PreviewBeats)->text(), QStringLiteral("4"));
            QCOMPARE(d.control<QLabel>(PreviewUnit)->text(), QStringLiteral("2"));
            auto* speed = d.control<QSlider>(SpeedSlider);
            QCOMPARE(speed->value(), 3);
            QCOMPARE(speed->minimum(), 0);
            QCOMPARE(speed->maximum(), 10);
            QCOMPARE(speed->tickInterval(), 1);
            for (int id : {ErrorLimit, UnknownLimit}) {
                QVERIFY(!box(d, id)->isChecked());
            }
            for (int id : {MaxErrorsEdit, MaxUnknownEdit}) {
                QVERIFY(!d.control(id)->isEnabled());
                QCOMPARE(d.control<QLineEdit>(id)->text(), QStringLiteral("10"));
            }
            QVERIFY(!d.control(MaxErrorsSpin)->isEnabled());
            QCOMPARE(checkedChords(d), 10);
            QCOMPARE(d.chordBox(9)->text(), QStringLiteral("dim7"));
            for (int id = FirstIntervalBox; id <= LastIntervalBox; ++id) {
                QVERIFY(box(d, id)->isChecked());
            }
            QVERIFY(box(d, IntervalsTogether)->isChecked());
            QVERIFY(!box(d, IntervalsUp)->isChecked());
            QVERIFY(!box(d, IntervalsDown)->isChecked());
            QVERIFY(box(d, DragWithMouse)->isChecked());
            QVERIFY(box(d, WheelChangesType)->isEnabled());
            QVERIFY(!box(d, WheelChangesType)->isChecked());
            QVERIFY(radio(d, 1104)->isChecked()); // a half-note beat
            QVERIFY(radio(d, 1028)->isChecked()); // four beats
            QVERIFY(box(d, 1049)->isChecked() && box(d, 1072)->isChecked());
            QVERIFY(box(d, HiddenDurationBox)->isHidden());
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(settings_, SettingsRecord{});
    }

    // OK commits the chord list's ten entries to all twenty slots: the ten without a chord
    // type become 0.
    static SettingsRecord confirmedDefaults() {
        SettingsRecord r;
        std::fill(r.chords.begin() + 10, r.chords.end(), 0);
        return r;
    }

    void okWithoutChangesKeepsTheDefaults() {
        CConfigureDialog d(settings_);
        QCOMPARE(runModal(d, [&] { button(d, OkButton)->click(); }), int(QDialog::Accepted));
        QCOMPARE(settings_, confirmedDefaults());
    }

    void sustainFollowsTheInstrument() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            auto* instruments = d.control<QComboBox>(InstrumentList);
            choose(instruments, 40); // Violin: its sound does not die away
            QCOMPARE(instruments->currentText(), QStringLiteral("Violin"));
            QVERIFY(!box(d, Sustain)->isEnabled());
            QVERIFY(!box(d, Sustain)->isChecked());
            choose(instruments, 12); // Marimba
            QVERIFY(box(d, Sustain)->isEnabled());
            QVERIFY(!box(d, Sustain)->isChecked());
            // The keyboard chooses as well: Down moves to Xylophone (13).
            instruments->setFocus();
            QTest::keyClick(instruments, Qt::Key_Down);
            QCOMPARE(d.instrumentPending(), 13);
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_.instrument, 13);
        QCOMPARE(settings_.sustain, 0);
    }

    void voiceModeProtectsTheAccidentals() {
        settings_.notes[24 + 1] = 1; // C#4 already chosen
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            QTest::mouseClick(radio(d, ModeVoice), Qt::LeftButton);
            QVERIFY(radio(d, ModeVoice)->isChecked());
            QVERIFY(d.control(TrebleStaffFolded)->isVisible());
            QVERIFY(!d.control(TrebleStaff)->isVisible());
            QVERIFY(!d.control(InstrumentList)->isEnabled());
            QVERIFY(!box(d, Sustain)->isEnabled());
            for (const auto* set : {&BassNoteIds, &TrebleNoteIds}) {
                for (int offset = 0; offset < 24; ++offset) {
                    QCOMPARE(box(d, (*set)[offset])->isEnabled(), !isAccidental(offset));
                }
            }
            // D major: C and F leave, the other naturals stay; the sharps keep their state.
            choose(d.control<QComboBox>(KeyList), 2);
            QCOMPARE(d.keyPending(), 2);
            const std::array<bool, 12> expected = {false, true, true,  false, true,  false,
                                                   false, true, false, true,  false, true};
            for (int offset = 0; offset < 24; ++offset) {
                const bool accidental = isAccidental(offset);
                const bool was = accidental && offset == 1;
                QCOMPARE(box(d, TrebleNoteIds[offset])->isChecked(),
                         accidental ? was : expected[offset % 12]);
                QCOMPARE(box(d, BassNoteIds[offset])->isChecked(),
                         accidental ? false : expected[offset % 12]);
            }
            // Clear, then "X": only the enabled boxes of the shown set change.
            button(d, NotesNone)->click();
            QVERIFY(box(d, TrebleNoteIds[1])->isChecked());
            QVERIFY(!box(d, TrebleNoteIds[0])->isChecked());
            QVERIFY(box(d, BassNoteIds[2])->isChecked()); // the hidden set is not touched
            button(d, NotesAll)->click();
            for (int offset = 0; offset < 24; ++offset) {
                QCOMPARE(box(d, TrebleNoteIds[offset])->isChecked(),
                         !isAccidental(offset) || offset == 1);
            }
            // The bass clef in Voice mode shows the folded bass staff and the bass set.
            radio(d, ClefBass)->click();
            QVERIFY(d.control(BassStaffFolded)->isVisible());
            QVERIFY(d.control(BassClefOnStaff)->isVisible());
            QVERIFY(!d.control(TrebleStaffFolded)->isVisible());
            QVERIFY(box(d, BassNoteIds[0])->isVisible());
            QVERIFY(!box(d, TrebleNoteIds[0])->isVisible());
            // Back to the synthesizer: the full bass staff, the accidentals enabled again.
            radio(d, ModeSynthesizer)->click();
            QVERIFY(d.control(BassStaff)->isVisible());
            QVERIFY(!d.control(BassStaffFolded)->isVisible());
            QVERIFY(box(d, BassNoteIds[1])->isEnabled());
            QVERIFY(box(d, Sustain)->isEnabled());
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_.soundMode, int(Synthesizer));
        QCOMPARE(settings_.clef, int(Bass));
        QCOMPARE(settings_.key, 2);
        QCOMPARE(settings_.notes[24 + 1], 1);
        QCOMPARE(settings_.notes[24 + 0], 1);
        QCOMPARE(settings_.notes[0], 0); // C2 left by the key
        QCOMPARE(settings_.notes[2], 1);
    }

    void picturesAndArrowKeysChooseLikeClicks() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QTest::mouseClick(d.control(VoicePicture), Qt::LeftButton);
            QVERIFY(radio(d, ModeVoice)->isChecked());
            QVERIFY(d.control(TrebleStaffFolded)->isVisible());
            QTest::mouseClick(d.control(BassChoicePicture), Qt::LeftButton);
            QVERIFY(radio(d, ClefBass)->isChecked());
            QVERIFY(d.control(BassStaffFolded)->isVisible());
            // Arrow keys move within a radio group and act as a click.
            radio(d, NamingSolfege)->setFocus();
            QTest::keyClick(radio(d, NamingSolfege), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QVERIFY(radio(d, NamingGerman)->isChecked());
            QCOMPARE(d.control<QLabel>(SharpLabel)->text(), QStringLiteral("is"));
            QCOMPARE(d.control<QComboBox>(KeyList)->itemText(0), QStringLiteral("c Maj"));
        });
    }

    void theGermanConventionRelabelsAndKeepsTheRow() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            auto* keys = d.control<QComboBox>(KeyList);
            choose(keys, 3);
            radio(d, NamingGerman)->click();
            QCOMPARE(d.control<QLabel>(SharpLabel)->text(), QStringLiteral("is"));
            QCOMPARE(keys->count(), 25);
            QCOMPARE(keys->itemText(0), QStringLiteral("c Maj"));
            QCOMPARE(keys->itemText(1), QStringLiteral("c is Maj"));
            QCOMPARE(keys->itemText(2), QStringLiteral("d    Maj"));
            QCOMPARE(keys->currentIndex(), 3);
            radio(d, NamingLetter)->click();
            QCOMPARE(d.control<QLabel>(SharpLabel)->text(), QStringLiteral("#"));
            QCOMPARE(keys->itemText(0), QStringLiteral("C Maj"));
            radio(d, NamingGerman)->click();
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_.namingConvention, int(German));
        QCOMPARE(settings_.key, 3);

        // Reopened, the German names and the label come back with the record.
        CConfigureDialog again(settings_);
        runModal(again, [&] {
            QCOMPARE(again.control<QLabel>(SharpLabel)->text(), QStringLiteral("is"));
            QCOMPARE(again.control<QComboBox>(KeyList)->currentText(), QStringLiteral("d is Maj"));
        });
    }

    void cancelKeepsTheCommittedWorkingCopies() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            choose(d.control<QComboBox>(InstrumentList), 40);
            choose(d.control<QComboBox>(KeyList), 5);
            d.chordBox(0)->click();
            box(d, DragWithMouse)->click();
            button(d, CancelButton)->click();
        });
        QCOMPARE(settings_, SettingsRecord{});

        // Reopened and confirmed without touching anything: the committed values stay.
        runModal(d, [&] {
            QCOMPARE(d.instrumentPending(), 0);
            QCOMPARE(d.control<QComboBox>(InstrumentList)->currentIndex(), 0);
            QVERIFY(box(d, Sustain)->isChecked());
            QVERIFY(box(d, DragWithMouse)->isChecked());
            QCOMPARE(checkedChords(d), 10);
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_, confirmedDefaults());
    }

    void theWheelNeedsTwoChordsOrTwoSizes() {
        settings_.wheelChangesType = 1;
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            auto* wheel = box(d, WheelChangesType);
            QVERIFY(wheel->isChecked());
            button(d, IntervalsNone)->click();
            QVERIFY(wheel->isEnabled());                                     // ten chords still
            QTest::mouseClick(box(d, FirstIntervalBox + 4), Qt::LeftButton); // 5 half tones
            // A plain click on a chord type checks or unchecks that one alone.
            for (int j = 1; j < 10; ++j) {
                QTest::mouseClick(d.chordBox(j), Qt::LeftButton);
            }
            QCOMPARE(checkedChords(d), 1);
            QVERIFY(d.chordBox(0)->isChecked());
            QVERIFY(!wheel->isEnabled());
            QVERIFY(!wheel->isChecked());
            QTest::mouseClick(d.chordBox(1), Qt::LeftButton);
            QCOMPARE(checkedChords(d), 2);
            QVERIFY(wheel->isEnabled());
            QVERIFY(!wheel->isChecked());
            QTest::keyClick(d.chordBox(1), Qt::Key_Space); // the keyboard works as well
            QCOMPARE(checkedChords(d), 1);
            QVERIFY(!wheel->isEnabled());
            box(d, FirstIntervalBox)->click(); // a second size
            QVERIFY(wheel->isEnabled());
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_.wheelChangesType, 0);
        const std::array<std::int32_t, 20> chords = {1};
        QCOMPARE(settings_.chords, chords);
        const std::array<std::int32_t, 13> sizes = {1, 1, 0, 0, 0, 1};
        QCOMPARE(settings_.intervals, sizes);
    }

    void selectAllNoteValuesIncludesTheHiddenOne() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            button(d, DurationsAll)->click();
            QVERIFY(box(d, HiddenDurationBox)->isChecked());
            button(d, OkButton)->click();
        });
        for (int code = 0; code < 14; ++code) {
            QCOMPARE(settings_.durations[code], 1);
            QCOMPARE(settings_.durationList[code], code);
        }
        QCOMPARE(settings_.durationCount, 14);

        // Cleared, then cancelled: the durations come back from the unchanged boxes' values.
        runModal(d, [&] {
            button(d, DurationsNone)->click();
            QVERIFY(!box(d, HiddenDurationBox)->isChecked());
            button(d, CancelButton)->click();
        });
        QCOMPARE(settings_.durationCount, 14);
    }

    void aRefusedOkThenCancelLeavesTheRecordAsItWas() {
        CConfigureDialog d(settings_);
        const int result = runModal(d, [&] {
            d.control<QSlider>(SpeedSlider)->setValue(7);
            radio(d, 1027)->click(); // three beats
            box(d, ErrorLimit)->click();
            box(d, UnknownLimit)->click();
            QVERIFY(d.control(MaxErrorsEdit)->isEnabled());
            d.control<QLineEdit>(MaxErrorsEdit)->setText(QStringLiteral("150"));
            d.control<QLineEdit>(MaxUnknownEdit)->setText(QStringLiteral("1x"));
            box(d, IntervalsUp)->click(); // bound after the failing box
            button(d, OkButton)->click();
            dismissRefusal(d, MaxUnknownEdit, QStringLiteral("integer"));
            button(d, CancelButton)->click();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        // Neither the fields read before the failing box nor any other changed.
        QCOMPARE(settings_, SettingsRecord{});

        // The next showing starts from the record, not from what the refused OK had read.
        runModal(d, [&] {
            QCOMPARE(d.control<QSlider>(SpeedSlider)->value(), 3);
            QCOMPARE(d.control<QLineEdit>(MaxErrorsEdit)->text(), QStringLiteral("10"));
            QVERIFY(!box(d, ErrorLimit)->isChecked());
        });
    }

    void aMaxBoxThatIsOffDoesNotBlockOk() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            box(d, ErrorLimit)->click();
            d.control<QLineEdit>(MaxErrorsEdit)->setText(QStringLiteral("abc"));
            box(d, ErrorLimit)->click(); // off again: the box cannot be corrected now
            box(d, UnknownLimit)->click();
            d.control<QLineEdit>(MaxUnknownEdit)->setText(QStringLiteral("0"));
            box(d, UnknownLimit)->click();
            button(d, OkButton)->click();
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(settings_.maxErrors, 10);
        QCOMPARE(settings_.maxUnknown, 10);
        QCOMPARE(settings_.errorLimitOn, 0);
        QCOMPARE(settings_.unknownLimitOn, 0);
    }

    void aMaxOfZeroOrBelowIsRefusedLikeANonInteger() {
        settings_.errorLimitOn = 1;
        CConfigureDialog d(settings_);
        const int result = runModal(d, [&] {
            d.control<QLineEdit>(MaxErrorsEdit)->setText(QStringLiteral(""));
            d.control<QLineEdit>(MaxUnknownEdit)->setText(QStringLiteral("20"));
            button(d, OkButton)->click();
            dismissRefusal(d, MaxErrorsEdit, QStringLiteral("integer"));
            for (const char* dead : {"0", " -3 "}) {
                d.control<QLineEdit>(MaxErrorsEdit)->setText(QString::fromLatin1(dead));
                button(d, OkButton)->click();
                dismissRefusal(d, MaxErrorsEdit, QStringLiteral("at least 1"));
            }
            // Corrected, OK closes and the derived fields follow.
            d.control<QLineEdit>(MaxErrorsEdit)->setText(QStringLiteral("150"));
            radio(d, 1032)->click(); // six beats
            button(d, OkButton)->click();
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(settings_.maxErrors, 150); // any integer from 1 goes in, beyond the arrows too
        QCOMPARE(settings_.maxUnknown, 20);
        QCOMPARE(settings_.beatsPerBar, 6);
    }

    void theArrowsStayWithinTheirRange() {
        settings_.errorLimitOn = 1;
        settings_.maxErrors = 98;
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            auto* edit = d.control<QLineEdit>(MaxErrorsEdit);
            auto* spin = static_cast<SpinArrows*>(d.control(MaxErrorsSpin));
            spin->stepBy(1);
            QCOMPARE(edit->text(), QStringLiteral("99"));
            spin->stepBy(1);
            QCOMPARE(edit->text(), QStringLiteral("99"));
            edit->setText(QStringLiteral("500"));
            spin->stepBy(-1);
            QCOMPARE(edit->text(), QStringLiteral("99"));
            edit->setText(QStringLiteral("1"));
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Down);
            QCOMPARE(edit->text(), QStringLiteral("1"));
            QTest::keyClick(edit, Qt::Key_Up);
            QCOMPARE(edit->text(), QStringLiteral("2"));
            edit->setText(QStringLiteral("abc")); // no number: from the last position
            spin->stepBy(1);
            QCOMPARE(edit->text(), QStringLiteral("3"));
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_.maxErrors, 3);
    }

    void theLimitBoxesEnableTheirMaxBoxes() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            QTest::mouseClick(box(d, UnknownLimit), Qt::LeftButton);
            QVERIFY(d.control(MaxUnknownEdit)->isEnabled());
            QVERIFY(d.control(MaxUnknownSpin)->isEnabled());
            QVERIFY(!d.control(MaxErrorsEdit)->isEnabled());
            QTest::mouseClick(box(d, UnknownLimit), Qt::LeftButton);
            QVERIFY(!d.control(MaxUnknownEdit)->isEnabled());
        });
    }

    void thePreviewShowsTheTimeSignature() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            const auto preview = [&] {
                return d.control<QLabel>(PreviewBeats)->text() + "/" +
                       d.control<QLabel>(PreviewUnit)->text();
            };
            radio(d, 1026)->click(); // two beats
            radio(d, 1108)->click(); // of a dotted quarter
            QCOMPARE(preview(), QStringLiteral("6/8"));
            radio(d, 1027)->click();
            radio(d, 1107)->click(); // three dotted eighths
            QCOMPARE(preview(), QStringLiteral("9/16"));
            radio(d, 1105)->click(); // whole notes
            QCOMPARE(preview(), QStringLiteral("3/1"));
            radio(d, 1110)->click(); // dotted wholes
            QCOMPARE(preview(), QStringLiteral("9/2"));
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_.beatChoice, 7);
        QCOMPARE(settings_.beatLength, 96);
        QCOMPARE(settings_.beatsPerBar, 3);
    }

    void eachShowingStartsFromTheRecord() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            box(d, TrebleNoteIds[1])->click();
            radio(d, ModeVoice)->click();
            button(d, IntervalsNone)->click();
        });
        runModal(d, [&] {
            QVERIFY(!box(d, TrebleNoteIds[1])->isChecked());
            QVERIFY(radio(d, ModeSynthesizer)->isChecked());
            QVERIFY(!radio(d, ModeVoice)->isChecked());
            QVERIFY(box(d, TrebleNoteIds[1])->isEnabled());
            QVERIFY(d.control(TrebleStaff)->isVisible());
            QVERIFY(box(d, FirstIntervalBox)->isChecked());
        });
    }

    void valuesOutOfRangeOpenSafelyAndCommitValidOnes() {
        settings_.beatChoice = 9;
        settings_.beatsPerBarChoice = -4;
        settings_.namingConvention = 7;
        settings_.soundMode = 3;
        settings_.clef = 2;
        settings_.instrument = 300;
        settings_.key = 40;
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            QCOMPARE(d.control<QComboBox>(KeyList)->currentIndex(), -1);
            button(d, OkButton)->click();
        });
        QCOMPARE(settings_.beatChoice, 7);
        QCOMPARE(settings_.beatLength, 96);
        QCOMPARE(settings_.beatsPerBarChoice, 0);
        QCOMPARE(settings_.beatsPerBar, 2);
        QCOMPARE(settings_.namingConvention, 2);
        QCOMPARE(settings_.soundMode, 2);
        QCOMPARE(settings_.clef, 1);
        QCOMPARE(settings_.instrument, 127);
    }

    void itFitsTheCommonScreensAndScrollsBelowThem() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            const QSize unbounded = d.fittedSize(QSize(100000, 100000));
            qInfo("configuration dialog wants %dx%d", unbounded.width(), unbounded.height());
            // 1366x768 at 100 % and 1920x1080 at 200 % (960x540 device-independent pixels),
            // less a desktop panel of 32 and the window frame with its title bar.
            for (const QSize screen : {QSize(1366, 768), QSize(960, 540)}) {
                const QSize available = screen - QSize(16, 32 + 40);
                QCOMPARE(d.fittedSize(available), unbounded);
            }
            // Smaller: bounded to the screen, and the groups scroll instead of being cut.
            const QSize small(640, 400);
            d.resize(d.fittedSize(small));
            QVERIFY(d.width() <= small.width() && d.height() <= small.height());
            QTRY_VERIFY(d.scrollArea()->horizontalScrollBar()->isVisible());
            QVERIFY(d.scrollArea()->verticalScrollBar()->isVisible());
            // OK and Cancel stay inside the dialog.
            for (int id : {OkButton, CancelButton}) {
                const QRect r(d.control(id)->mapTo(&d, QPoint(0, 0)), d.control(id)->size());
                QVERIFY(d.rect().contains(r));
            }
            d.resize(unbounded);
            QTRY_VERIFY(!d.scrollArea()->horizontalScrollBar()->isVisible());
            QVERIFY(!d.scrollArea()->verticalScrollBar()->isVisible());
            button(d, CancelButton)->click();
        });
    }

    void tabReachesEveryKindOfControl() {
        CConfigureDialog d(settings_);
        runModal(d, [&] {
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            radio(d, NamingSolfege)->setFocus();
            QSet<QWidget*> reached;
            for (int i = 0; i < 200; ++i) {
                reached.insert(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            for (int id : {KeyList, InstrumentList, Sustain, SpeedSlider, ErrorLimit,
                           IntervalsTogether, SelectedNotesOnly, NotesAll, DurationsAll, OkButton,
                           CancelButton, TrebleNoteIds[0], FirstIntervalBox}) {
                QVERIFY2(reached.contains(d.control(id)), qPrintable(QString::number(id)));
            }
            QVERIFY(reached.contains(d.chordBox(0)) && reached.contains(d.chordBox(9)));
        });
    }
};

QTEST_MAIN(ConfigureDialogTest)
#include "ConfigureDialogTest.moc"

// Building the configuration dialog: its controls with their ids and texts, grouped as the
// user reads them, laid out by Qt's layouts so that nothing clips at any scale.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <utility>

#include "model/ChordTable.h"
#include "model/NoteNames.h"
#include "model/Pitch.h"
#include "model/ScaleTable.h"
#include "shell/dialogs/CConfigureDialog.h"
#include "shell/dialogs/ConfigureIds.h"
#include "shell/dialogs/ControlId.h"
#include "shell/dialogs/SpinArrows.h"
#include "shell/dialogs/SvgPicture.h"
#include "sound/InstrumentTable.h"

namespace tessimo {

using namespace configure;

namespace {

// Column of the natural at or below offset (0..23) among the fourteen naturals of a set.
int naturalColumn(int offset) {
    const int octave = offset / PitchesPerOctave;
    return octave * 7 + DiatonicStepTable[offset % PitchesPerOctave];
}

// Width of one note column: room for a check box indicator with some air.
int columnWidth(const QWidget* w) {
    const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w);
    return std::max(indicator + 10, w->fontMetrics().height() * 3 / 2);
}

QString pitchLabel(int pitch) {
    return QString::fromLatin1(noteName(pitch, Letter)) + QString::number(pitch / 12 - 1);
}

// Gives a control one text as its tool tip and as the name screen readers say.
void describe(QWidget* control, const QString& text) {
    control->setToolTip(text);
    control->setAccessibleName(text);
}

// The pair of buttons that check or clear a whole set: the tool tip of the first, and one
// compact size for both.
void finishSetButtons(QPushButton* checkAll, QPushButton* clearAll) {
    checkAll->setToolTip(CConfigureDialog::tr("Check all"));
    for (QPushButton* b : {checkAll, clearAll}) {
        b->setFixedSize(b->sizeHint().height() * 3 / 2, b->sizeHint().height());
    }
}

} // namespace

template <typename T> T* CConfigureDialog::add(T* widget, int id) {
    setControlId(widget, id);
    controls_.insert(id, widget);
    buildOrder_.append(widget);
    return widget;
}

QCheckBox* CConfigureDialog::addCheck(int id, const QString& text) {
    return add(new QCheckBox(text), id);
}

QRadioButton* CConfigureDialog::addRadio(int id, const QString& text) {
    return add(new QRadioButton(text), id);
}

SvgPicture* CConfigureDialog::addPicture(int id, const char* file) {
    auto* picture = new SvgPicture(QStringLiteral(":/dialogs/") + QLatin1String(file));
    return add(picture, id);
}

QPushButton* CConfigureDialog::addClearButton(int id) {
    auto* button = add(new QPushButton, id);
    button->setIcon(QIcon(QStringLiteral(":/dialogs/clear.svg")));
    describe(button, tr("Clear all"));
    return button;
}

void CConfigureDialog::buildControls() {
    setWindowTitle(tr("Configuration"));

    auto* left = new QVBoxLayout;
    left->addWidget(buildSounds(), 1);
    left->addWidget(buildGame());
    auto* right = new QVBoxLayout;
    right->addWidget(buildTempo());
    right->addWidget(buildIntervals(), 1);

    auto* ok = add(new QPushButton(tr("OK")), OkButton);
    auto* cancel = add(new QPushButton(tr("Cancel")), CancelButton);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CConfigureDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CConfigureDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttonRow_ = buttons;
    buttons->addWidget(ok);
    buttons->addStretch(1);
    buttons->addWidget(cancel);

    // The groups scroll when the screen is too small for them; OK and Cancel stay in view.
    content_ = new QWidget;
    auto* columns = new QHBoxLayout(content_);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(left);
    columns->addLayout(right);
    scroll_ = new QScrollArea;
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(content_);
    auto* main = new QVBoxLayout(this);
    main->addWidget(scroll_, 1);
    main->addLayout(buttons);

    // Tab order: the controls in the order they were built, which is reading order.
    QList<QWidget*> order;
    for (QWidget* w : buildOrder_) {
        if (w->focusPolicy() & Qt::TabFocus) {
            order.append(w);
        }
    }
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

QWidget* CConfigureDialog::buildSounds() {
    const int em = fontMetrics().height();
    const int column = std::max(columnWidth(this), em * 3 / 2);
    auto* box = new QGroupBox(tr("SOUNDS"));
    auto* grid = new QGridLayout(box);

    auto* naming = new QVBoxLayout;
    namingGroup_ = new QButtonGroup(this);
    const std::array<std::pair<int, const char*>, 3> conventions = {
        {{NamingSolfege, "Do, Re, Mi ..."},
         {NamingLetter, "C , D, E ..."},
         {NamingGerman, "c , d, e ..."}}};
    for (int i = 0; i < 3; ++i) {
        auto* radio = addRadio(conventions[i].first, tr(conventions[i].second));
        namingGroup_->addButton(radio, i);
        naming->addWidget(radio);
    }
    naming->addStretch(1);
    grid->addLayout(naming, 0, 0);

    auto* clefs = new QHBoxLayout;
    clefGroup_ = new QButtonGroup(this);
    const std::array<std::tuple<int, int, const char*, const char*>, 2> clefChoices = {
        {{ClefTreble, TrebleChoicePicture, "148-clef-choice-treble.svg", "Treble clef"},
         {ClefBass, BassChoicePicture, "149-clef-choice-bass.svg", "Bass clef"}}};
    for (int i = 0; i < 2; ++i) {
        const auto& [radioId, pictureId, file, name] = clefChoices[i];
        auto* picture = addPicture(pictureId, file);
        picture->setDisplayHeight(em * 3);
        auto* radio = addRadio(radioId);
        describe(radio, tr(name));
        picture->setBuddy(radio);
        clefGroup_->addButton(radio, i);
        clefs->addWidget(picture);
        clefs->addWidget(radio);
        clefs->addSpacing(em / 2);
    }
    clefs->addStretch(1);
    grid->addLayout(clefs, 0, 1, Qt::AlignTop);

    // The staff with its clef, the two note sets at the same places under it, the accidental
    // row with its label, and the buttons that check or clear the shown set.
    auto* staff = new QGridLayout;
    staff->setHorizontalSpacing(0);
    staff->setVerticalSpacing(2);
    const int firstNote = 3;
    auto* allNotes = add(new QPushButton(tr("X")), NotesAll);
    auto* noNotes = addClearButton(NotesNone);
    finishSetButtons(allNotes, noNotes);
    staff->addWidget(allNotes, 1, 0);
    staff->addWidget(noNotes, 2, 0);
    staff->setColumnMinimumWidth(1, em / 2);
    const std::array<std::pair<int, const char*>, 4> staves = {
        {{TrebleStaff, "150-staff-treble.svg"},
         {TrebleStaffFolded, "154-staff-treble-folded.svg"},
         {BassStaff, "155-staff-bass.svg"},
         {BassStaffFolded, "156-staff-bass-folded.svg"}}};
    int staffHeight = 0;
    for (const auto& [id, file] : staves) {
        auto* picture = addPicture(id, file);
        picture->setDisplayWidth(column * 14);
        staffHeight = picture->height();
        staff->addWidget(picture, 0, firstNote, 1, 14);
    }
    for (const auto& [id, file] : {std::pair{BassClefOnStaff, "162-clef-bass.svg"},
                                   std::pair{TrebleClefOnStaff, "163-clef-treble.svg"}}) {
        auto* picture = addPicture(id, file);
        picture->setDisplayHeight(staffHeight);
        staff->addWidget(picture, 0, 2);
    }
    for (int set = 0; set < 2; ++set) {
        const auto& ids = set == 0 ? BassNoteIds : TrebleNoteIds;
        auto& boxes = set == 0 ? bassNotes_ : trebleNotes_;
        const int lowest = set == 0 ? LowestPitch : LowestPitch + 24;
        for (int offset = 0; offset < 24; ++offset) {
            auto* check = addCheck(ids[offset]);
            describe(check, pitchLabel(lowest + offset));
            boxes[offset] = check;
            const int row = isBlackKey(lowest + offset) ? 2 : 1;
            staff->addWidget(check, row, firstNote + naturalColumn(offset), Qt::AlignHCenter);
        }
    }
    for (int k = 0; k < 14; ++k) {
        staff->setColumnMinimumWidth(firstNote + k, column);
    }
    sharpLabel_ = add(new QLabel(QStringLiteral("#")), SharpLabel);
    staff->addWidget(sharpLabel_, 2, 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addLayout(staff, 1, 0, 1, 2);

    auto* modes = new QGridLayout;
    modeGroup_ = new QButtonGroup(this);
    const std::array<std::tuple<int, int, const char*, const char*>, 3> modeChoices = {
        {{ModeVoice, VoicePicture, "152-voice.svg", "Voice: say the note names"},
         {ModeInstrument, InstrumentPicture, "153-instrument.svg",
          "Instrument: play the notes into the microphone"},
         {ModeSynthesizer, SynthesizerPicture, "164-synthesizer.svg",
          "Synthesizer: the program plays the notes"}}};
    for (int i = 0; i < 3; ++i) {
        const auto& [radioId, pictureId, file, name] = modeChoices[i];
        auto* picture = addPicture(pictureId, file);
        picture->setDisplayHeight(em * 3);
        auto* radio = addRadio(radioId);
        describe(radio, tr(name));
        picture->setBuddy(radio);
        modeGroup_->addButton(radio, i);
        modes->addWidget(picture, i, 0);
        modes->addWidget(radio, i, 1);
    }
    modes->setRowStretch(3, 1);
    grid->addLayout(modes, 0, 2, 2, 1);

    auto* bottom = new QHBoxLayout;
    keyList_ = add(new QComboBox, KeyList);
    keyList_->setToolTip(tr("Select the notes of a key"));
    keyList_->setAccessibleName(tr("Key"));
    int longestKey = 0;
    for (int row = 0; row < ScaleCount; ++row) {
        for (int c = 0; c < NamingConventionCount; ++c) {
            longestKey = std::max(longestKey, static_cast<int>(std::strlen(scaleName(row, c))));
        }
    }
    keyList_->setMinimumContentsLength(longestKey);
    keyList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    keyList_->setMaxVisibleItems(ScaleCount);
    sustain_ = addCheck(Sustain, tr("Sustain"));
    instrumentList_ = add(new QComboBox, InstrumentList);
    instrumentList_->setAccessibleName(tr("Instrument"));
    int longestInstrument = 0;
    for (const auto& row : InstrumentTable) {
        longestInstrument = std::max(longestInstrument, static_cast<int>(std::strlen(row.name)));
    }
    instrumentList_->setMinimumContentsLength(longestInstrument);
    instrumentList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    instrumentList_->setMaxVisibleItems(16);
    bottom->addWidget(keyList_);
    bottom->addStretch(1);
    bottom->addWidget(sustain_);
    bottom->addWidget(instrumentList_);
    grid->addLayout(bottom, 2, 0, 1, 3);
    return box;
}

QWidget* CConfigureDialog::buildTempo() {
    const int em = fontMetrics().height();
    const int column = columnWidth(this);
    auto* box = new QGroupBox(tr("TEMPO"));
    auto* outer = new QVBoxLayout(box);

    // The seven note values: beat-value radios above (dotted row first), the picture, then the
    // note-value boxes (plain row, then dotted row).
    auto* values = new QGridLayout;
    values->setHorizontalSpacing(0);
    values->setVerticalSpacing(2);
    const int first = 2;
    beatValueGroup_ = new QButtonGroup(this);
    // Columns: whole, half, quarter, eighth for the beats.
    const std::array<int, 4> plainBeats = {1105, 1104, 1103, 1102};
    const std::array<int, 4> dottedBeats = {1110, 1109, 1108, 1107};
    const std::array<const char*, 7> valueNames = {
        "whole", "half", "quarter", "eighth", "sixteenth", "thirty-second", "sixty-fourth"};
    for (int i = 0; i < static_cast<int>(BeatValueIds.size()); ++i) {
        auto* radio = addRadio(BeatValueIds[i]);
        beatValueGroup_->addButton(radio, i);
    }
    for (int k = 0; k < 4; ++k) {
        auto* dotted = control<QRadioButton>(dottedBeats[k]);
        auto* plain = control<QRadioButton>(plainBeats[k]);
        describe(dotted, tr("Beat: dotted %1").arg(tr(valueNames[k])));
        describe(plain, tr("Beat: %1").arg(tr(valueNames[k])));
        values->addWidget(dotted, 0, first + k, Qt::AlignHCenter);
        values->addWidget(plain, 1, first + k, Qt::AlignHCenter);
    }
    values->addWidget(new QLabel(QStringLiteral("°")), 0, 1, Qt::AlignCenter);
    auto* picture = addPicture(NoteValuesPicture, "146-note-values.svg");
    picture->setDisplayWidth(column * 7);
    values->addWidget(picture, 2, first, 1, 7);
    const std::array<int, 7> plainBoxes = {1045, 1048, 1049, 1050, 1051, 1052, 1053};
    const std::array<int, 7> dottedBoxes = {1065, 1070, 1072, 1073, 1074, 1077, 1093};
    for (int k = 0; k < 7; ++k) {
        auto* plain = addCheck(plainBoxes[k]);
        auto* dotted = addCheck(dottedBoxes[k]);
        describe(plain, tr("Notes: %1").arg(tr(valueNames[k])));
        describe(dotted, tr("Notes: dotted %1").arg(tr(valueNames[k])));
        values->addWidget(plain, 3, first + k, Qt::AlignHCenter);
        values->addWidget(dotted, 4, first + k, Qt::AlignHCenter);
    }
    control(HiddenDurationBox)->setHidden(true);
    for (int m = 0; m < 14; ++m) {
        durationBoxes_[m] = control<QCheckBox>(DurationBoxIds[m]);
    }
    values->addWidget(new QLabel(QStringLiteral("°")), 4, 1, Qt::AlignCenter);
    for (int k = 0; k < 7; ++k) {
        values->setColumnMinimumWidth(first + k, column);
    }
    values->setColumnMinimumWidth(1, column);
    auto* allValues = add(new QPushButton(tr("X")), DurationsAll);
    auto* noValues = addClearButton(DurationsNone);
    finishSetButtons(allValues, noValues);
    values->addWidget(allValues, 2, 0, Qt::AlignBottom);
    values->addWidget(noValues, 3, 0);
    // The time signature's preview beside the note values.
    auto* preview = new QVBoxLayout;
    preview->setSpacing(0);
    previewBeats_ = add(new QLabel, PreviewBeats);
    previewUnit_ = add(new QLabel, PreviewUnit);
    QFont big = font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    for (QLabel* label : {previewBeats_, previewUnit_}) {
        label->setFont(big);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(QFontMetrics(big).horizontalAdvance(QStringLiteral("000")));
        preview->addWidget(label);
    }
    previewBeats_->setToolTip(tr("Time signature"));
    auto* top = new QHBoxLayout;
    top->addLayout(values);
    top->addSpacing(em / 2);

    // Metre with its preview, and the speed.
    // Beats per bar in a column beside the note values, the time signature beside them.
    auto* metre = new QVBoxLayout;
    auto* rhythm = new QVBoxLayout;
    rhythm->setSpacing(0);
    rhythm->addWidget(new QLabel(tr("Rythm")));
    beatsPerBarGroup_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(BeatsPerBarIds.size()); ++i) {
        auto* radio = addRadio(BeatsPerBarIds[i], QString::number(i + 2));
        beatsPerBarGroup_->addButton(radio, i);
        rhythm->addWidget(radio);
    }
    rhythm->addStretch(1);
    top->addLayout(rhythm);
    top->addSpacing(em / 2);
    top->addLayout(preview);
    top->addStretch(1);
    outer->addLayout(top);

    auto* speedRow = new QHBoxLayout;
    auto* tortoise = addPicture(TortoisePicture, "183-tortoise.svg");
    auto* hare = addPicture(HarePicture, "182-hare.svg");
    tortoise->setDisplayHeight(em * 3 / 2);
    hare->setDisplayHeight(em * 3 / 2);
    speed_ = add(new QSlider(Qt::Horizontal), SpeedSlider);
    speed_->setTickPosition(QSlider::TicksBelow);
    speed_->setTickInterval(1);
    speed_->setPageStep(1);
    speed_->setMinimumWidth(em * 8);
    speed_->setAccessibleName(tr("Speed"));
    auto* speedLabel = new QLabel(tr("Speed"));
    speedLabel->setBuddy(speed_);
    speedRow->addWidget(tortoise);
    speedRow->addWidget(speed_, 1);
    speedRow->addWidget(hare);
    speedRow->addWidget(speedLabel);
    metre->addLayout(speedRow);
    outer->addLayout(metre);
    outer->addStretch(1);
    return box;
}

QWidget* CConfigureDialog::buildIntervals() {
    const int em = fontMetrics().height();
    // Narrower columns than the notes': the sizes' numbers are short.
    const int column =
        std::max(style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) + 8, em * 13 / 10);
    auto* box = new QGroupBox(tr("INTERVALS && CHORDS"));
    auto* outer = new QHBoxLayout(box);
    auto* left = new QVBoxLayout;

    auto* sizes = new QGridLayout;
    sizes->setHorizontalSpacing(0);
    sizes->setVerticalSpacing(0);
    const int first = 2;
    auto* allSizes = add(new QPushButton(tr("X")), IntervalsAll);
    auto* noSizes = addClearButton(IntervalsNone);
    finishSetButtons(allSizes, noSizes);
    sizes->addWidget(allSizes, 0, 0);
    sizes->addWidget(noSizes, 1, 0);
    sizes->setColumnMinimumWidth(1, em / 2);
    for (int n = 1; n <= 12; ++n) {
        auto* number = new QLabel(QString::number(n));
        number->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        sizes->addWidget(number, 0, first + n - 1);
        auto* check = addCheck(FirstIntervalBox - 1 + n);
        describe(check, tr("%n half tone(s)", nullptr, n));
        intervalBoxes_[n] = check;
        sizes->addWidget(check, 1, first + n - 1, Qt::AlignHCenter);
        sizes->setColumnMinimumWidth(first + n - 1, column);
    }
    // The unit after the sizes' numbers.
    auto* unit = new QLabel(tr("1/2 tone"));
    unit->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    sizes->setColumnMinimumWidth(first + 12, em / 3);
    sizes->addWidget(unit, 0, first + 13);
    sizes->setColumnStretch(first + 14, 1);
    left->addLayout(sizes);

    // Pictures with the boxes under them.
    auto* pictures = new QHBoxLayout;
    const auto pictureWithBoxes = [&](int pictureId, const char* file,
                                      std::initializer_list<std::pair<int, const char*>> boxes) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(0);
        grid->setVerticalSpacing(2);
        const int count = static_cast<int>(boxes.size());
        const int width = column * 2;
        auto* picture = addPicture(pictureId, file);
        picture->setDisplayWidth(width * count);
        grid->addWidget(picture, 0, 0, 1, count);
        int k = 0;
        for (const auto& [id, tip] : boxes) {
            auto* check = addCheck(id);
            describe(check, tr(tip));
            grid->addWidget(check, 1, k, Qt::AlignHCenter);
            grid->setColumnMinimumWidth(k, width);
            ++k;
        }
        pictures->addLayout(grid);
        // Pictures of different heights: their boxes still line up in one row.
        pictures->setAlignment(grid, Qt::AlignBottom);
    };
    pictureWithBoxes(IntervalsPicture, "165-intervals.svg",
                     {{IntervalsTogether, "Intervals sounded together"},
                      {IntervalsUp, "Intervals sounded ascending"},
                      {IntervalsDown, "Intervals sounded descending"}});
    pictures->addSpacing(em);
    pictureWithBoxes(ChordsPicture, "166-chords.svg",
                     {{DragWithMouse, "The interval or chord follows the mouse"},
                      {WheelChangesType, "The mouse wheel changes the interval or chord"}});
    pictures->addSpacing(em);
    {
        auto* keyBox = new QVBoxLayout;
        keyBox->setSpacing(2);
        auto* key = addPicture(KeyPicture, "184-key.svg");
        key->setDisplayHeight(em * 2);
        auto* check = addCheck(SelectedNotesOnly);
        describe(check, tr("Every note of an interval or chord must be a selected note"));
        key->setBuddy(check);
        keyBox->addStretch(1);
        keyBox->addWidget(key, 0, Qt::AlignHCenter);
        keyBox->addWidget(check, 0, Qt::AlignHCenter);
        pictures->addLayout(keyBox);
    }
    pictures->addStretch(1);
    left->addLayout(pictures);

    // The chord types, each a check box, in two rows under the pictures.
    auto* chords = add(new QWidget, ChordList);
    chords->setAccessibleName(tr("Chords"));
    auto* chordGrid = new QGridLayout(chords);
    chordGrid->setContentsMargins(0, em / 4, 0, 0);
    chordGrid->setVerticalSpacing(2);
    constexpr int ChordsPerRow = 5;
    for (int j = 0; j < ChordTypeCount; ++j) {
        auto* check =
            new QCheckBox(QString::fromLatin1(ChordTable[static_cast<std::size_t>(j)].name));
        check->setObjectName(QStringLiteral("chord%1").arg(j));
        buildOrder_.append(check);
        check->setToolTip(tr("Chords of this type are asked and played"));
        chordBoxes_[static_cast<std::size_t>(j)] = check;
        chordGrid->addWidget(check, j / ChordsPerRow, j % ChordsPerRow);
    }
    chordGrid->setColumnStretch(ChordsPerRow, 1);
    left->addWidget(chords);
    left->addStretch(1);
    outer->addLayout(left, 1);
    return box;
}

QWidget* CConfigureDialog::buildGame() {
    const int em = fontMetrics().height();
    auto* box = new QGroupBox(tr("GAME"));
    auto* row = new QHBoxLayout(box);
    const auto limit = [&](const QString& text, int checkId, int editId, int spinId,
                           QCheckBox*& check, QLineEdit*& edit, SpinArrows*& spin) {
        auto* label = new QLabel(text);
        check = addCheck(checkId);
        check->setAccessibleName(text);
        edit = add(new QLineEdit, editId);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + em);
        edit->setAccessibleName(tr("Max"));
        spin = add(new SpinArrows(edit), spinId);
        spin->setRange(1, 99);
        auto* max = new QLabel(tr("Max"));
        max->setBuddy(edit);
        row->addWidget(label);
        row->addWidget(check);
        row->addSpacing(em / 2);
        row->addWidget(max);
        row->addWidget(edit);
        row->addWidget(spin);
    };
    limit(tr("Check errors"), ErrorLimit, MaxErrorsEdit, MaxErrorsSpin, errorLimit_, maxErrors_,
          errorsSpin_);
    row->addSpacing(em * 2);
    limit(tr("Check unknown"), UnknownLimit, MaxUnknownEdit, MaxUnknownSpin, unknownLimit_,
          maxUnknown_, unknownSpin_);
    row->addStretch(1);
    return box;
}

} // namespace tessimo

// The configuration dialog's behaviour: opening, data exchange, the handlers that keep the
// controls consistent, and the closing steps that commit to the settings record.
#include "shell/dialogs/CConfigureDialog.h"

#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include <algorithm>

#include "model/ChordTable.h"
#include "model/Durations.h"
#include "model/NoteNames.h"
#include "model/ScaleTable.h"
#include "shell/dialogs/ConfigureIds.h"
#include "shell/dialogs/SpinArrows.h"
#include "shell/dialogs/SvgPicture.h"
#include "sound/InstrumentTable.h"

namespace tessimo {

namespace {
// Room left around the dialog on its screen for the window manager's frame and title bar.
constexpr int FrameWidthAllowance = 16;
constexpr int FrameHeightAllowance = 40;
} // namespace

using namespace configure;

namespace {

// Checks button index value of group; a value outside the group is shown as its nearest
// button, so OK always reads back a valid choice.
void checkRadio(QButtonGroup* group, int value) {
    const int last = static_cast<int>(group->buttons().size()) - 1;
    group->button(std::clamp(value, 0, last))->setChecked(true);
}

void uncheckAll(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) {
        b->setChecked(false);
    }
    group->setExclusive(true);
}

} // namespace

CConfigureDialog::CConfigureDialog(SettingsRecord& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    buildControls();
    connectHandlers();
}

void CConfigureDialog::connectHandlers() {
    connect(namingGroup_, &QButtonGroup::idClicked, this, [this](int convention) {
        setSharpLabel(convention);
        refillKeys(convention);
    });
    connect(clefGroup_, &QButtonGroup::idClicked, this,
            [this](int clef) { applyClef(clef, control<QRadioButton>(ModeVoice)->isChecked()); });
    connect(modeGroup_, &QButtonGroup::idClicked, this, [this](int mode) {
        applySoundMode(mode, control<QRadioButton>(ClefTreble)->isChecked());
    });
    connect(control<QPushButton>(NotesAll), &QPushButton::clicked, this,
            [this] { setShownNotes(true); });
    connect(control<QPushButton>(NotesNone), &QPushButton::clicked, this,
            [this] { setShownNotes(false); });
    connect(keyList_, &QComboBox::activated, this, &CConfigureDialog::onKeySelected);
    connect(instrumentList_, &QComboBox::activated, this, &CConfigureDialog::onInstrumentSelected);
    for (QCheckBox* chord : chordBoxes_) {
        connect(chord, &QCheckBox::clicked, this, &CConfigureDialog::refreshChords);
    }
    for (int n = 1; n <= 12; ++n) {
        connect(intervalBoxes_[n], &QCheckBox::clicked, this, &CConfigureDialog::refreshChords);
    }
    for (auto [id, checked] : {std::pair{IntervalsAll, true}, std::pair{IntervalsNone, false}}) {
        connect(control<QPushButton>(id), &QPushButton::clicked, this, [this, checked = checked] {
            for (int n = 1; n <= 12; ++n) {
                if (intervalBoxes_[n]->isEnabled()) {
                    intervalBoxes_[n]->setChecked(checked);
                }
            }
            refreshChords();
        });
    }
    for (auto [id, checked] : {std::pair{DurationsAll, true}, std::pair{DurationsNone, false}}) {
        // Every note-value box is enabled, so the hidden dotted sixty-fourth changes too.
        connect(control<QPushButton>(id), &QPushButton::clicked, this, [this, checked = checked] {
            for (QCheckBox* box : durationBoxes_) {
                if (box->isEnabled()) {
                    box->setChecked(checked);
                }
            }
        });
    }
    connect(errorLimit_, &QCheckBox::clicked, this, &CConfigureDialog::refreshErrorLimit);
    connect(unknownLimit_, &QCheckBox::clicked, this, &CConfigureDialog::refreshUnknownLimit);
    connect(beatValueGroup_, &QButtonGroup::idClicked, this, &CConfigureDialog::refreshPreview);
    connect(beatsPerBarGroup_, &QButtonGroup::idClicked, this, &CConfigureDialog::refreshPreview);
}

QSize CConfigureDialog::fittedSize(const QSize& available) const {
    // The groups' size, and around them the dialog's margins and the buttons' row.
    const QSize content = content_->sizeHint().expandedTo(content_->minimumSizeHint());
    const QMargins margins = layout()->contentsMargins();
    const int extraW = margins.left() + margins.right() + 2 * scroll_->frameWidth();
    const int extraH = margins.top() + margins.bottom() + 2 * scroll_->frameWidth() +
                       layout()->spacing() + buttonRow_->sizeHint().height();
    QSize wanted(content.width() + extraW, content.height() + extraH);
    if (wanted.width() > available.width()) {
        // A horizontal scroll bar takes room below the groups.
        wanted.rheight() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    if (wanted.height() > available.height()) {
        wanted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    return wanted.boundedTo(available);
}

int CConfigureDialog::exec() {
    resetControls();
    openingSteps();
    // Fit the screen the dialog opens on, leaving room for the window's frame and title.
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen()) {
        const QSize frame(FrameWidthAllowance, FrameHeightAllowance);
        resize(fittedSize(screen->availableGeometry().size() - frame));
    }
    const int result = QDialog::exec();
    closingSteps(result == QDialog::Accepted);
    return result;
}

void CConfigureDialog::accept() {
    if (exchange(true)) {
        QDialog::accept();
    }
}

// Every control back to its state before the opening steps: nothing checked, lists empty,
// everything enabled, the statics with their first texts.
void CConfigureDialog::resetControls() {
    for (QButtonGroup* g :
         {namingGroup_, clefGroup_, modeGroup_, beatValueGroup_, beatsPerBarGroup_}) {
        uncheckAll(g);
    }
    for (QWidget* w : std::as_const(controls_)) {
        w->setEnabled(true);
        if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setChecked(false);
        }
    }
    filling_ = true;
    keyList_->clear();
    instrumentList_->clear();
    filling_ = false;
    maxErrors_->clear();
    maxUnknown_->clear();
    sharpLabel_->setText(QStringLiteral("#"));
    previewBeats_->clear();
    previewUnit_->clear();
}

void CConfigureDialog::openingSteps() {
    working_ = settings_;
    const SettingsRecord& s = working_;
    instrumentPending_ = std::clamp<int>(s.instrument, 0, InstrumentCount - 1);
    keyPending_ = s.key >= 0 && s.key < ScaleCount ? s.key : -1;

    speed_->setRange(0, 10);
    speed_->setValue(s.speed);

    filling_ = true;
    for (const auto& row : InstrumentTable) {
        instrumentList_->addItem(QString::fromLatin1(row.name));
    }
    instrumentList_->setCurrentIndex(instrumentPending_);
    sustain_->setEnabled(sustainAllowed(instrumentPending_));

    for (int j = 0; j < ChordTypeCount; ++j) {
        chordBoxes_[static_cast<std::size_t>(j)]->setChecked(
            s.chords[static_cast<std::size_t>(j)] != 0);
    }
    filling_ = false;

    const int convention = std::clamp<int>(s.namingConvention, 0, NamingConventionCount - 1);
    refillKeys(convention);
    setSharpLabel(convention);

    errorsSpin_->setRange(1, 99);
    unknownSpin_->setRange(1, 99);
    errorsSpin_->setPosition(s.maxErrors);
    unknownSpin_->setPosition(s.maxUnknown);

    // The radios are not checked yet: the pictures follow the record.
    const int clef = std::clamp<int>(s.clef, Treble, Bass);
    const int mode = std::clamp<int>(s.soundMode, Voice, Synthesizer);
    applySoundMode(mode, clef == Treble);
    applyClef(clef, mode == Voice);

    chordsPending_.fill(0);
    exchange(false);
}

// After OK the working copy, read whole from the controls, gets its derived fields and then
// replaces the record in one assignment. After Cancel the record is left as it was: it is
// consistent already (its durations follow durationChecks), and nothing read by a refused OK
// reaches it.
void CConfigureDialog::closingSteps(bool accepted) {
    if (!accepted) {
        return;
    }
    SettingsRecord& s = working_;
    for (int m = 0; m < DurationCodeCount; ++m) {
        s.durations[DurationCodeCount - 1 - m] = s.durationChecks[m];
    }
    s.buildDurationList();
    s.beatsPerBar = s.beatsPerBarChoice + 2;
    s.beatLength = BeatTable[std::clamp<int>(s.beatChoice, 0, BeatChoiceCount - 1)];
    s.instrument = instrumentPending_;
    s.key = keyPending_;
    s.chords = chordsPending_;
    settings_ = s;
}

bool CConfigureDialog::exchangeInteger(QLineEdit* edit, std::int32_t& value, bool save) {
    if (!save) {
        edit->setText(QString::number(value));
        return true;
    }
    bool ok = false;
    const int typed = edit->text().trimmed().toInt(&ok);
    // A limit of 0 or below would end every exercise as it starts.
    if (ok && typed >= 1) {
        value = typed;
        return true;
    }
    if (!edit->isEnabled()) {
        // Its limit is off, so the box cannot be corrected; the count keeps its value rather
        // than trapping the user in the dialog.
        return true;
    }
    const QString text =
        ok ? tr("Please enter a number of at least 1.") : tr("Please enter an integer.");
    auto* message =
        new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    message->setObjectName(QStringLiteral("integerMessage"));
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->setWindowModality(Qt::WindowModal);
    connect(message, &QMessageBox::finished, edit, [edit] {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    });
    message->open();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

// Moves every bound value between the record and its control, in binding order; reading stops
// at a Max box without an integer. Then the refreshers run.
bool CConfigureDialog::exchange(bool save) {
    SettingsRecord& s = working_;
    const auto flag = [save](QAbstractButton* box, std::int32_t& value) {
        if (save) {
            value = box->isChecked() ? 1 : 0;
        } else {
            box->setChecked(value != 0);
        }
    };
    const auto radios = [save](QButtonGroup* group, std::int32_t& value) {
        if (!save) {
            checkRadio(group, value);
        } else if (group->checkedId() >= 0) {
            value = group->checkedId();
        }
    };
    const auto check = [this](int id) { return control<QCheckBox>(id); };

    if (save) {
        s.speed = speed_->value();
    } else {
        speed_->setValue(s.speed);
    }
    radios(beatsPerBarGroup_, s.beatsPerBarChoice);
    if (!exchangeInteger(maxErrors_, s.maxErrors, save) ||
        !exchangeInteger(maxUnknown_, s.maxUnknown, save)) {
        return false;
    }
    radios(clefGroup_, s.clef);
    flag(errorLimit_, s.errorLimitOn);
    for (int m = DurationCodeCount - 1; m >= 0; --m) {
        flag(durationBoxes_[m], s.durationChecks[m]);
    }
    flag(unknownLimit_, s.unknownLimitOn);
    radios(namingGroup_, s.namingConvention);
    radios(modeGroup_, s.soundMode);
    flag(sustain_, s.sustain);
    flag(check(IntervalsTogether), s.intervalsTogether);
    flag(check(IntervalsUp), s.intervalsUp);
    flag(check(IntervalsDown), s.intervalsDown);
    flag(check(SelectedNotesOnly), s.selectedNotesOnly);
    flag(check(DragWithMouse), s.dragWithMouse);
    flag(check(WheelChangesType), s.wheelChangesType);
    radios(beatValueGroup_, s.beatChoice);
    for (int n = 1; n <= 12; ++n) {
        flag(intervalBoxes_[n], s.intervals[n]);
    }
    for (int i = 0; i < 48; ++i) {
        flag(i < 24 ? bassNotes_[i] : trebleNotes_[i - 24], s.notes[i]);
    }

    refreshErrorLimit();
    refreshUnknownLimit();
    refreshChords();
    refreshPreview();
    return true;
}

void CConfigureDialog::refillKeys(int convention) {
    filling_ = true;
    keyList_->clear();
    for (int row = 0; row < ScaleCount; ++row) {
        keyList_->addItem(QString::fromLatin1(scaleName(row, convention)));
    }
    keyList_->setCurrentIndex(keyPending_); // -1 leaves the list without a selection
    filling_ = false;
}

void CConfigureDialog::setSharpLabel(int convention) {
    sharpLabel_->setText(QString::fromLatin1(sharpSign(convention)));
}

bool CConfigureDialog::sustainAllowed(int program) const {
    return program >= 0 && program < InstrumentCount && InstrumentTable[program].sustainFlag;
}

void CConfigureDialog::applySoundMode(int mode, bool trebleShown) {
    QWidget* folded = control(trebleShown ? TrebleStaffFolded : BassStaffFolded);
    QWidget* full = control(trebleShown ? TrebleStaff : BassStaff);
    folded->setHidden(mode != Voice);
    full->setHidden(mode == Voice);
    instrumentList_->setEnabled(mode == Synthesizer);
    sustain_->setEnabled(mode == Synthesizer && sustainAllowed(instrumentPending_));
    for (const auto* set : {&bassNotes_, &trebleNotes_}) {
        for (int offset : AccidentalOffsets) {
            (*set)[offset]->setEnabled(mode != Voice);
        }
    }
}

void CConfigureDialog::applyClef(int clef, bool voice) {
    const bool treble = clef == Treble;
    control(BassClefOnStaff)->setHidden(treble);
    control(TrebleClefOnStaff)->setHidden(!treble);
    control(TrebleStaff)->setHidden(!treble || voice);
    control(TrebleStaffFolded)->setHidden(!treble || !voice);
    control(BassStaff)->setHidden(treble || voice);
    control(BassStaffFolded)->setHidden(treble || !voice);
    for (QCheckBox* box : bassNotes_) {
        box->setHidden(treble);
    }
    for (QCheckBox* box : trebleNotes_) {
        box->setHidden(!treble);
    }
}

void CConfigureDialog::setAllNotesOf(const std::array<QCheckBox*, 24>& set, bool checked) {
    for (QCheckBox* box : set) {
        if (box->isEnabled()) {
            box->setChecked(checked);
        }
    }
}

void CConfigureDialog::setShownNotes(bool checked) {
    const bool bass = control<QRadioButton>(ClefBass)->isChecked();
    setAllNotesOf(bass ? bassNotes_ : trebleNotes_, checked);
}

void CConfigureDialog::onKeySelected(int row) {
    if (filling_ || row < 0 || row >= ScaleCount) {
        return;
    }
    keyPending_ = row;
    // Both sets, shown or not; a disabled box (an accidental in Voice mode) keeps its state.
    std::array<std::int32_t, 48> checks{};
    std::array<bool, 48> enabled{};
    for (int i = 0; i < 48; ++i) {
        QCheckBox* box = i < 24 ? bassNotes_[i] : trebleNotes_[i - 24];
        checks[i] = box->isChecked() ? 1 : 0;
        enabled[i] = box->isEnabled();
    }
    preselectFromScale(row, checks, enabled);
    for (int i = 0; i < 48; ++i) {
        (i < 24 ? bassNotes_[i] : trebleNotes_[i - 24])->setChecked(checks[i] != 0);
    }
}

void CConfigureDialog::onInstrumentSelected(int program) {
    if (filling_ || program < 0 || program >= InstrumentCount) {
        return;
    }
    instrumentPending_ = program;
    const bool allowed = sustainAllowed(program);
    sustain_->setEnabled(allowed);
    if (!allowed) {
        sustain_->setChecked(false);
    }
}

void CConfigureDialog::refreshChords() {
    int chords = 0;
    for (int j = 0; j < ChordTypeCount && j < ChordSlotCount; ++j) {
        const bool selected = chordBoxes_[static_cast<std::size_t>(j)]->isChecked();
        chordsPending_[j] = selected ? 1 : 0;
        chords += selected ? 1 : 0;
    }
    int sizes = 0;
    for (int n = 1; n <= 12; ++n) {
        sizes += intervalBoxes_[n]->isChecked() ? 1 : 0;
    }
    // The wheel only has something to change with two chord types or two interval sizes.
    auto* wheel = control<QCheckBox>(WheelChangesType);
    if (chords <= 1 && sizes <= 1) {
        wheel->setChecked(false);
        wheel->setEnabled(false);
    } else {
        wheel->setEnabled(true);
    }
}

void CConfigureDialog::refreshErrorLimit() {
    maxErrors_->setEnabled(errorLimit_->isChecked());
    errorsSpin_->setEnabled(errorLimit_->isChecked());
}

void CConfigureDialog::refreshUnknownLimit() {
    maxUnknown_->setEnabled(unknownLimit_->isChecked());
    unknownSpin_->setEnabled(unknownLimit_->isChecked());
}

void CConfigureDialog::refreshPreview() {
    const int choice = beatsPerBarGroup_->checkedId();
    const int beatIndex = beatValueGroup_->checkedId();
    if (choice < 0 || beatIndex < 0) {
        return;
    }
    const int beats = choice + 2;
    // Even choices are the plain values (factor 1), odd ones the dotted values (factor 3).
    const int length = BeatTable[beatIndex];
    const int factor = beatIndex % 2 == 0 ? 1 : 3;
    previewBeats_->setText(QString::number(beats * factor));
    previewUnit_->setText(QString::number(64 * factor / length));
}

} // namespace tessimo

// The configuration dialog: edits a copy of the settings record and puts it into the record
// when OK succeeds. Every control carries its id (ControlId.h, ConfigureIds.h).
//
// Use: keep one CConfigureDialog beside the record it edits and call exec() for each Configure
// command. exec() rebuilds every control from the record, runs the dialog modally and returns
// QDialog::Accepted or QDialog::Rejected. Only an OK that closes the dialog changes the record,
// all of it at once; the caller then saves the record (saveUserSettings).
// User-interface thread only.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <array>
#include <cstdint>

#include "model/SettingsRecord.h"

class QScrollArea;

namespace tessimo {

class SpinArrows;
class SvgPicture;

class CConfigureDialog : public QDialog {
    Q_OBJECT
public:
    explicit CConfigureDialog(SettingsRecord& settings, QWidget* parent = nullptr);

    // Opening steps, the modal loop, closing steps. After OK the record holds what the
    // controls show, with durations, durationList, beatsPerBar, beatLength, instrument, key
    // and chords derived; after Cancel it is unchanged.
    int exec() override;

    // The size the dialog takes on a screen whose free area is available: all of it when it
    // fits, else as much as fits, its groups scrolling.
    QSize fittedSize(const QSize& available) const;

    // The scroll area around the groups (scroll bars show only when they do not fit).
    QScrollArea* scrollArea() const { return scroll_; }

    // OK: reads every control into the working copy in binding order. A Max box that does not
    // hold an integer of at least 1 stops the reading there with a message, puts the focus
    // back into that box and keeps the dialog open; the record is not touched. A disabled Max
    // box (its limit is off) without such a number keeps its count: it cannot be fixed.
    void accept() override;

    // The control or picture with this id, or nullptr.
    QWidget* control(int id) const { return controls_.value(id, nullptr); }
    template <typename T> T* control(int id) const { return qobject_cast<T*>(control(id)); }

    // The working copies that follow their lists at once and reach the record only on OK.
    int instrumentPending() const { return instrumentPending_; }
    int keyPending() const { return keyPending_; }
    const std::array<std::int32_t, 20>& chordsPending() const { return chordsPending_; }
    // The check box of chord slot j (0..9), named after its chord type.
    QCheckBox* chordBox(int j) const { return chordBoxes_.at(static_cast<std::size_t>(j)); }

private:
    // Building (ConfigureLayout.cpp).
    void buildControls();
    QWidget* buildSounds();
    QWidget* buildTempo();
    QWidget* buildIntervals();
    QWidget* buildGame();
    void connectHandlers();
    template <typename T> T* add(T* widget, int id);
    QCheckBox* addCheck(int id, const QString& text = QString());
    QRadioButton* addRadio(int id, const QString& text = QString());
    SvgPicture* addPicture(int id, const char* file);
    QPushButton* addClearButton(int id);

    // Opening and closing.
    void resetControls();
    void openingSteps();
    void closingSteps(bool accepted);
    bool exchange(bool save);
    bool exchangeInteger(QLineEdit* edit, std::int32_t& value, bool save);

    // Handlers and refreshers.
    void refillKeys(int convention);
    void setSharpLabel(int convention);
    void applySoundMode(int mode, bool trebleShown);
    void applyClef(int clef, bool voice);
    void onKeySelected(int row);
    void onInstrumentSelected(int program);
    void setShownNotes(bool checked);
    void setAllNotesOf(const std::array<QCheckBox*, 24>& set, bool checked);
    void refreshChords();
    void refreshErrorLimit();
    void refreshUnknownLimit();
    void refreshPreview();
    bool sustainAllowed(int program) const;

    SettingsRecord& settings_;
    SettingsRecord working_; // what the controls edit; reaches settings_ only on OK
    QHash<int, QWidget*> controls_;
    QList<QWidget*> buildOrder_; // every control in the order it was made: the tab order

    QButtonGroup* namingGroup_ = nullptr;
    QButtonGroup* clefGroup_ = nullptr;
    QButtonGroup* modeGroup_ = nullptr;
    QButtonGroup* beatValueGroup_ = nullptr;
    QButtonGroup* beatsPerBarGroup_ = nullptr;
    std::array<QCheckBox*, 24> bassNotes_{};
    std::array<QCheckBox*, 24> trebleNotes_{};
    std::array<QCheckBox*, 14> durationBoxes_{}; // by durationChecks element
    std::array<QCheckBox*, 13> intervalBoxes_{}; // by size; [0] has no box
    QComboBox* keyList_ = nullptr;
    QComboBox* instrumentList_ = nullptr;
    std::array<QCheckBox*, 10> chordBoxes_{}; // by chord slot
    QCheckBox* sustain_ = nullptr;
    QWidget* content_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QLayout* buttonRow_ = nullptr;
    QCheckBox* errorLimit_ = nullptr;
    QCheckBox* unknownLimit_ = nullptr;
    QLineEdit* maxErrors_ = nullptr;
    QLineEdit* maxUnknown_ = nullptr;
    SpinArrows* errorsSpin_ = nullptr;
    SpinArrows* unknownSpin_ = nullptr;
    QSlider* speed_ = nullptr;
    QLabel* sharpLabel_ = nullptr;
    QLabel* previewBeats_ = nullptr;
    QLabel* previewUnit_ = nullptr;

    int instrumentPending_ = 0;
    int keyPending_ = 0;
    std::array<std::int32_t, 20> chordsPending_{};
    bool filling_ = false; // the lists are being filled: their signals are not the user's
};

} // namespace tessimo

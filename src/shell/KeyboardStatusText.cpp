#include "shell/KeyboardStatusText.h"

#include <QCoreApplication>
#include <QStringList>

namespace tessimo {

namespace {
QString statusText(const char* text) {
    return QCoreApplication::translate("tessimo::KeyboardStatusText", text);
}
} // namespace

QString keyboardStatusText(const MidiInputStatus& status) {
    switch (status.state) {
    case MidiInputState::NoSequencer:
        return statusText(
            QT_TRANSLATE_NOOP("tessimo::KeyboardStatusText",
                              "No MIDI keyboard: there is no MIDI sequencer on this machine"));
    case MidiInputState::Failed:
        return statusText(QT_TRANSLATE_NOOP("tessimo::KeyboardStatusText",
                                            "No MIDI keyboard: the MIDI system failed (%1)"))
            .arg(QString::fromStdString(status.detail));
    case MidiInputState::NoDevice:
        return statusText(
            QT_TRANSLATE_NOOP("tessimo::KeyboardStatusText", "No MIDI keyboard connected"));
    case MidiInputState::Connected:
        break;
    }
    QStringList names;
    for (const std::string& device : status.devices) {
        names << QString::fromStdString(device);
    }
    const char* text =
        names.size() > 1
            ? QT_TRANSLATE_NOOP("tessimo::KeyboardStatusText", "Keyboards: %1 connected")
            : QT_TRANSLATE_NOOP("tessimo::KeyboardStatusText", "Keyboard: %1 connected");
    return statusText(text).arg(names.join(QStringLiteral(", ")));
}

QString keyboardStatusDetails(const MidiInputStatus& status) {
    if (status.inputPort.empty()) {
        return {};
    }
    return statusText(QT_TRANSLATE_NOOP("tessimo::KeyboardStatusText",
                                        "Other programs can play into %1 (%2)."))
        .arg(QString::fromStdString(status.inputPort), QString::fromStdString(status.backend));
}

} // namespace tessimo

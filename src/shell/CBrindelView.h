// The view in which the exercises run: the Qt side of the game. It owns the sound output,
// routes the view's commands, and reports missing devices once in the status bar.
// User-interface thread only.
#pragma once

#include "shell/CommandView.h"

#include "sound/MidiOutput.h"

#include <memory>

namespace tessimo {

class CBrindelView : public CommandView {
    Q_OBJECT
public:
    // With midi null the view starts the synthesiser in the background.
    explicit CBrindelView(std::unique_ptr<MidiOutput> midi = nullptr, QWidget* parent = nullptr);
    ~CBrindelView() override;

    bool handlesCommand(int id) const override;
    bool commandEnabled(int id) const override;
    void runCommand(int id) override;
    bool isIdle() const override;

    // Frames painted since the view was built.
    int framesPainted() const { return m_framesPainted; }

signals:
    // A frame has been painted.
    void framePainted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void reportSoundStatus();

    std::unique_ptr<MidiOutput> m_midi;
    int m_framesPainted = 0;
};

} // namespace tessimo

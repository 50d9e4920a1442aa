#pragma once

#include "widgets/Desktop.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QSoundEffect;

namespace newsbell {

// The bell's file name, without a folder.
inline constexpr char bellFileName[] = "newsbell.wav";

// Where the bell is taken from: "newsbell.wav" in currentFolder, else beside the program in
// programFolder, else the bell compiled into the program.
QUrl bellSource(const QString& currentFolder, const QString& programFolder);

// The real alert sound on Qt Multimedia. The file is looked up afresh for every sound, so that
// a bell put beside the program while it runs is heard at the next alert. Without an audio
// output, or when the file does not play, beep is called instead.
class BellSound final : public SoundPlayer {
public:
    explicit BellSound(std::function<void()> beep);
    ~BellSound() override;

    void play() override;

private:
    void ensureEffect();

    std::function<void()> beep_;
    std::unique_ptr<QSoundEffect> effect_; // made at the first sound: it wakes the audio system
};

} // namespace newsbell

#include "widgets/BellSound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>

namespace newsbell {

QUrl bellSource(const QString& currentFolder, const QString& programFolder) {
    for (const QString& folder : {currentFolder, programFolder}) {
        const QFileInfo file(QDir(folder).filePath(QLatin1String(bellFileName)));
        if (file.isFile()) return QUrl::fromLocalFile(file.absoluteFilePath());
    }
    return QUrl(QStringLiteral("qrc:/sounds/") + QLatin1String(bellFileName));
}

BellSound::BellSound(std::function<void()> beep) : beep_(std::move(beep)) {}

BellSound::~BellSound() = default;

void BellSound::ensureEffect() {
    if (effect_) return;
    effect_ = std::make_unique<QSoundEffect>();
    // Loading and decoding run in the background; a file that turns out unplayable is only
    // known then.
    QObject::connect(effect_.get(), &QSoundEffect::statusChanged, effect_.get(), [this] {
        if (effect_->status() == QSoundEffect::Error) beep_();
    });
}

void BellSound::play() {
    // With no output a sound effect would count as playing for ever, heard by nobody.
    if (QMediaDevices::audioOutputs().isEmpty()) {
        beep_();
        return;
    }
    ensureEffect();
    const QUrl source = bellSource(QDir::currentPath(), QCoreApplication::applicationDirPath());
    if (effect_->source() != source) {
        effect_->setSource(source); // a new source is loaded and reports its status anew
    } else if (effect_->status() == QSoundEffect::Error) {
        beep_();
        return;
    }
    effect_->stop();
    effect_->play();
}

} // namespace newsbell

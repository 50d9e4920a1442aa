#include "widgets/BellSound.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(BellSound, is_looked_up_in_the_current_folder_then_beside_the_program_then_built_in) {
    QTemporaryDir current, program;
    const QUrl builtIn(QStringLiteral("qrc:/sounds/newsbell.wav"));
    EXPECT_EQ(bellSource(current.path(), program.path()), builtIn);
    QDir(current.path()).mkdir(QStringLiteral("newsbell.wav")); // a folder of that name is no sound
    EXPECT_EQ(bellSource(current.path(), program.path()), builtIn);

    writeFile(program.filePath(QStringLiteral("newsbell.wav")), "RIFF");
    EXPECT_EQ(bellSource(current.path(), program.path()),
              QUrl::fromLocalFile(program.filePath(QStringLiteral("newsbell.wav"))));
    QDir(current.path()).rmdir(QStringLiteral("newsbell.wav"));
    writeFile(current.filePath(QStringLiteral("newsbell.wav")), "RIFF");
    EXPECT_EQ(bellSource(current.path(), program.path()),
              QUrl::fromLocalFile(current.filePath(QStringLiteral("newsbell.wav"))));
}

TEST(BellSound, the_built_in_bell_is_a_short_wave_file) {
    QFile bell(QStringLiteral(":/sounds/newsbell.wav"));
    ASSERT_TRUE(bell.open(QIODevice::ReadOnly));
    const QByteArray bytes = bell.readAll();
    EXPECT_TRUE(bytes.startsWith("RIFF"));
    EXPECT_EQ(bytes.mid(8, 4), "WAVE");
    EXPECT_LT(bytes.size(), 100000);
}

TEST(BellSound, without_an_audio_output_it_beeps_at_once) {
    if (!QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "this machine has an output";
    int beeps = 0;
    BellSound sound([&] { ++beeps; });
    sound.play();
    sound.play();
    EXPECT_EQ(beeps, 2);
}

} // namespace
} // namespace newsbell

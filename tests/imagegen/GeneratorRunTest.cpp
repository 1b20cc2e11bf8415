// The generator program as the build runs it.

#include "tests/imagegen/ImageTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TRun {
    int ExitCode = -1;
    QString Errors;
};

TRun RunGenerator(const QStringList& arguments) {
    QProcess generator;
    generator.start(GeneratorProgram(), arguments);
    // Generous: the run takes a few seconds, far more under the sanitizers.
    if (!generator.waitForFinished(300000)) {
        generator.kill();
        generator.waitForFinished();
        return {};
    }
    return {generator.exitStatus() == QProcess::NormalExit ? generator.exitCode() : -1,
            QString::fromLocal8Bit(generator.readAllStandardError())};
}

QStringList SortedFiles(const QString& directory) {
    QStringList files = QDir(directory).entryList(QDir::Files, QDir::Name);
    files.sort();
    return files;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Guards reproducible builds and the set of shipped files: the five JPEG pictures must not
// come with bitmaps (the game's first run makes those), and nothing else may be missing.
TEST(GeneratorRun, TwoRunsWriteTheSameFilesByteForByte) {
    QTemporaryDir first, second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    ASSERT_EQ(RunGenerator({first.path()}).ExitCode, 0);
    ASSERT_EQ(RunGenerator({second.path()}).ExitCode, 0);

    const QString firstImages = QDir(first.path()).filePath(QStringLiteral("Images"));
    const QString secondImages = QDir(second.path()).filePath(QStringLiteral("Images"));
    QStringList expected = ExpectedPictureNames();
    expected.sort();
    ASSERT_EQ(SortedFiles(firstImages), expected);
    ASSERT_EQ(SortedFiles(secondImages), expected);
    for (const QString& name : expected) {
        const QByteArray a = Contents(QDir(firstImages).filePath(name));
        EXPECT_FALSE(a.isEmpty()) << qPrintable(name);
        EXPECT_TRUE(a == Contents(QDir(secondImages).filePath(name))) << qPrintable(name);
    }
}

// A build must stop on a failed write instead of leaving a half-filled directory behind a
// success.
TEST(GeneratorRun, FailsWithAMessageWhenTheOutputCannotBeWritten) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString blocker = QDir(scratch.path()).filePath(QStringLiteral("Images"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // a file where the directory should go
    file.close();

    const TRun run = RunGenerator({scratch.path()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Errors.contains(QLatin1String("cannot write"))) << qPrintable(run.Errors);
}

TEST(GeneratorRun, RefusesToRunWithoutAnOutputDirectory) {
    const TRun run = RunGenerator({});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Errors.contains(QLatin1String("usage"))) << qPrintable(run.Errors);
}

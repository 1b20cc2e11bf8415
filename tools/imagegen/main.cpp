// zorbix-imagegen OUTDIR: draws every picture of the game into OUTDIR/Images. The build runs
// it so that the program directory holds the pictures the game loads; the same sources always
// give the same bytes.

#include "tools/imagegen/PictureSet.h"
#include "tools/imagegen/PictureWriter.h"
#include "tools/imagegen/TextArt.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorbix-imagegen OUTDIR\n");
        return 2;
    }
    // Lettering needs a GUI application, but the generator must run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    TFontKit fonts;
    QString missingFont;
    if (!fonts.Load(missingFont)) {
        std::fprintf(stderr, "zorbix-imagegen: cannot load the font %s\n", qPrintable(missingFont));
        return 1;
    }
    try {
        TPictureWriter writer(
            QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("Images")));
        WriteAllPictures(writer, fonts);
        std::printf("zorbix-imagegen: %d pictures written\n", writer.FilesWritten());
    } catch (const TPictureWriteError& error) {
        std::fprintf(stderr, "zorbix-imagegen: %s\n", error.what());
        return 1;
    }
    return 0;
}

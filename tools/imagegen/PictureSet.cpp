#include "tools/imagegen/PictureSet.h"

#include "tools/imagegen/BallTextures.h"
#include "tools/imagegen/DigitPictures.h"
#include "tools/imagegen/IconPictures.h"
#include "tools/imagegen/InterludePicture.h"
#include "tools/imagegen/PictureWriter.h"
#include "tools/imagegen/ScreenPictures.h"
#include "tools/imagegen/SurfaceTextures.h"
#include "tools/imagegen/TextArt.h"

void WriteAllPictures(TPictureWriter& writer, const TFontKit& fonts) {
    writer.Put(QStringLiteral("logo.jpg"), MakeTitlePicture(fonts));
    writer.Put(QStringLiteral("gameover.jpg"), MakeGameOverPicture(fonts));
    writer.Put(QStringLiteral("nag.jpg"), MakeInterludePicture(fonts));
    writer.Put(QStringLiteral("pause.bmp"), MakePauseBanner(fonts));
    writer.Put(QStringLiteral("fone.jpg"), MakeDrumTexture());
    writer.Put(QStringLiteral("field.jpg"), MakeFieldTexture());
    writer.Put(QStringLiteral("frame.bmp"), MakeFrameTexture());
    for (int look = 0; look < BallLookCount; ++look) {
        writer.Put(QStringLiteral("sphere%1.bmp").arg(look), MakeBallTexture(look));
    }
    for (int digit = 0; digit <= 9; ++digit) {
        writer.Put(QStringLiteral("%1.bmp").arg(digit), MakeDigitPicture(fonts, digit));
        writer.Put(QStringLiteral("%1M.bmp").arg(digit), MakeDigitMask(fonts, digit));
    }
    for (const int size : IconSizes) {
        writer.Put(QStringLiteral("icon%1.png").arg(size), MakeIcon(size));
    }
}

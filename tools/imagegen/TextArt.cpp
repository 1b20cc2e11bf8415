#include "tools/imagegen/TextArt.h"

#include "tools/imagegen/Drawing.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>

namespace {

// The first family a font file registers, or empty if it cannot be loaded.
QString RegisterFont(const QString& fileName, QString& failedFile) {
    const QString path = QStringLiteral("%1/%2").arg(QLatin1String(FontDirectory), fileName);
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        failedFile = path;
        return {};
    }
    return families.front();
}

QPointF CentringOffset(const QFont& font, const QPainterPath& text, QPointF centre) {
    const QRectF box = text.boundingRect();
    const qreal capHeight = QFontMetricsF(font).capHeight();
    return {centre.x() - box.center().x(), centre.y() + capHeight / 2};
}

} // namespace

bool TFontKit::Load(QString& failedFile) {
    SansFamily = RegisterFont(QStringLiteral("DejaVuSans.ttf"), failedFile);
    SansBoldFamily = RegisterFont(QStringLiteral("DejaVuSans-Bold.ttf"), failedFile);
    SerifBoldFamily = RegisterFont(QStringLiteral("DejaVuSerif-Bold.ttf"), failedFile);
    return !SansFamily.isEmpty() && !SansBoldFamily.isEmpty() && !SerifBoldFamily.isEmpty();
}

QFont TFontKit::Make(const QString& family, qreal pixelSize, QFont::Weight weight) {
    QFont font(family);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPainterPath CenteredTextPath(const QFont& font, const QString& text, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path.translated(CentringOffset(font, path, centre));
}

QPainterPath FittedTextPath(const QFont& font, const QString& text, QPointF centre,
                            qreal maxWidth) {
    QPainterPath path = CenteredTextPath(font, text, centre);
    const qreal width = path.boundingRect().width();
    if (width <= maxWidth || width <= 0) {
        return path;
    }
    const qreal factor = maxWidth / width;
    QTransform shrink;
    shrink.translate(centre.x(), centre.y());
    shrink.scale(factor, factor);
    shrink.translate(-centre.x(), -centre.y());
    return shrink.map(path);
}

std::vector<QPainterPath> LetterPaths(const QFont& font, const QString& text, QPointF centre) {
    QPainterPath whole;
    whole.addText(0, 0, font, text);
    const QPointF offset = CentringOffset(font, whole, centre);
    const QFontMetricsF metrics(font);
    std::vector<QPainterPath> letters;
    for (int i = 0; i < text.size(); ++i) {
        QPainterPath letter;
        letter.addText(metrics.horizontalAdvance(text.left(i)), 0, font, text.mid(i, 1));
        letters.push_back(letter.translated(offset));
    }
    return letters;
}

void DrawStyledText(QPainter& painter, const QPainterPath& text, const TTextLook& look) {
    if (look.Shadow.alpha() > 0) {
        DrawSoftShadow(painter, text, look.ShadowOffset, look.ShadowBlur, look.Shadow,
                       look.OutlineWidth);
    }
    if (look.OutlineWidth > 0) {
        painter.strokePath(text, QPen(look.Outline, 2 * look.OutlineWidth, Qt::SolidLine,
                                      Qt::RoundCap, Qt::RoundJoin));
    }
    const QRectF box = text.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, look.Top);
    fill.setColorAt(1, look.Bottom);
    painter.fillPath(text, fill);

    painter.save();
    painter.setClipPath(text);
    if (look.RimWidth > 0) {
        painter.strokePath(
            text, QPen(look.Rim, 2 * look.RimWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    if (look.Gloss > 0) {
        QLinearGradient sheen(box.topLeft(), QPointF(box.left(), box.center().y()));
        sheen.setColorAt(0, QColor(255, 255, 255, static_cast<int>(230 * look.Gloss)));
        sheen.setColorAt(1, QColor(255, 255, 255, static_cast<int>(60 * look.Gloss)));
        painter.fillRect(QRectF(box.left(), box.top(), box.width(), box.height() * 0.48), sheen);
    }
    painter.restore();
}

void DrawPlainText(QPainter& painter, const QPainterPath& text, QColor fill, QColor shadow) {
    if (shadow.alpha() > 0) {
        const qreal lift = qMax<qreal>(1, text.boundingRect().height() / 14);
        DrawSoftShadow(painter, text, QPointF(lift * 0.6, lift), static_cast<int>(lift) + 1,
                       shadow);
    }
    painter.fillPath(text, fill);
}

TTextLook HeadlineLook(QColor top, QColor bottom, QColor outline, int rimAlpha) {
    TTextLook look;
    look.Top = top;
    look.Bottom = bottom;
    look.Outline = outline;
    look.OutlineWidth = 12;
    look.Rim = QColor(255, 255, 255, rimAlpha);
    look.RimWidth = 3;
    look.ShadowOffset = QPointF(8, 14);
    look.ShadowBlur = 14;
    look.Gloss = 0.5;
    return look;
}

#include "app/GameApplication.h"

#include "core/BuildInfo.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/system/ApplicationError.h"

#include <QFile>
#include <QIcon>

#include <exception>

TGameApplication::TGameApplication(int& argc, char** argv) : QApplication(argc, argv) {
    const auto text = [](std::string_view view) {
        return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
    };
    setApplicationName(QStringLiteral("zorbix"));
    setApplicationVersion(text(GameVersion));
    setOrganizationDomain(text(GameOrganizationDomain));
    setDesktopFileName(text(GameApplicationId));
}

QIcon GameIcon() {
    QIcon icon;
    const QString images = QString::fromStdString(GameFilePlaces().DataDirectory + "Images/");
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = images + QStringLiteral("icon%1.png").arg(size);
        if (QFile::exists(file)) {
            icon.addFile(file, QSize(size, size));
        }
    }
    return icon;
}

bool TGameApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowApplicationError(error.what());
        return false;
    }
}

#include "app/GameApplication.h"

#include "platform/system/ApplicationError.h"

#include <exception>

bool TGameApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowApplicationError(error.what());
        return false;
    }
}

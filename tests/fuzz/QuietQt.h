#pragma once
// Qt remarks on every odd bitmap it decodes; a fuzzer feeds it millions, so the remarks are
// dropped. A fatal message still ends the process once the handler returns.

#include <QtGlobal>

inline void DropQtMessages() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

#include "platform/system/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
TAddressOpener AddressOpener;
}

void ShellOpen(const std::string& address) {
    if (AddressOpener) {
        AddressOpener(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

void SetAddressOpener(TAddressOpener opener) {
    AddressOpener = std::move(opener);
}

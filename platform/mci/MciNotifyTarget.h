#pragma once
// What receives the music notifications (the main window, as the notify message would
// arrive). Notifications come through the Qt event loop of the user-interface thread; one
// still queued when its target is destroyed is dropped.

#include <cstdint>
#include <memory>

class IMciNotifyTarget {
public:
    IMciNotifyTarget() = default;
    IMciNotifyTarget(const IMciNotifyTarget&) = delete;
    IMciNotifyTarget& operator=(const IMciNotifyTarget&) = delete;

    // flags: MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_SUPERSEDED or MCI_NOTIFY_ABORTED.
    virtual void MciNotify(std::uint32_t flags) = 0;

    // Expires when the target is destroyed.
    std::weak_ptr<const void> Lifetime() const { return Alive; }

protected:
    ~IMciNotifyTarget() = default;

private:
    std::shared_ptr<const void> Alive = std::make_shared<char>(0);
};

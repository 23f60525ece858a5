#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

namespace recorder {

// Whether this start is the user's only Ambrevo.
enum class InstanceRole {
    First,   // no other Ambrevo answers: this one runs and listens for later starts
    Second,  // another Ambrevo of the user runs and was asked to raise its window
};

// One Ambrevo per user: the first start listens on a local socket named per user (in
// XDG_RUNTIME_DIR, which belongs to the user alone); a later start connects to it, sends a
// raise request and leaves. A socket left by an Ambrevo that crashed is taken over.
//
// Window's thread only. The raise handler runs on that thread, from the event loop.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `socketPath`: the per-user socket, normally defaultSocketPath().
    explicit SingleInstance(QString socketPath);

    static QString defaultSocketPath();

    // Asks a running Ambrevo to raise its window (Second), or becomes the one that listens
    // (First). Also First when listening fails: then this run simply is not reachable.
    InstanceRole claim();
    // Called for each raise request of a later start.
    void setRaiseHandler(std::function<void()> handler) { raiseHandler_ = std::move(handler); }

  private:
    void onNewConnection();

    QString socketPath_;
    QLocalServer server_;
    std::function<void()> raiseHandler_;
};

}  // namespace recorder

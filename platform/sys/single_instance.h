#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace sys {

// Lets one copy of a program run per computer and user. The first copy holds a lock named
// after the program for its whole run and listens for the later copies; a later copy finds
// the lock held, asks the first copy to bring its window forward, and reports that another
// copy runs.
class SingleInstanceGuard : public QObject {
    Q_OBJECT

public:
    explicit SingleInstanceGuard(const QString& name, QObject* parent = nullptr);
    ~SingleInstanceGuard() override;

    // True when another copy held the lock when this guard was created.
    bool anotherCopyRuns() const { return m_anotherCopyRuns; }

Q_SIGNALS:
    // A later copy asked this one to come forward.
    void activationRequested();

private:
    bool m_anotherCopyRuns = false;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace sys

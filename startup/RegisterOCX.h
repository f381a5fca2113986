#pragma once
// The window the program starts with. While it loads it makes sure only one copy runs, sets
// AppPath, makes sure the shipped components are present and registered, hides itself and
// loads the main window, which takes the start-up on and unloads this window later.

#include <QStringList>

#include "Form.h"

// Where components live and how one is registered. On Linux the program ships no components
// to register: LinuxComponentHost finds every component already present, so nothing is
// copied or started. Tests put a host of their own in place to follow the algorithm.
class ComponentHost {
public:
    virtual ~ComponentHost() = default;
    // The system folder, without a trailing separator.
    virtual QString SystemFolder() const = 0;
    virtual bool FileExists(const QString& path) const = 0;
    virtual bool CopyFile(const QString& from, const QString& to) = 0;
    // Starts the registration command without waiting for it; false when it cannot start.
    virtual bool StartRegistration(const QString& commandLine) = 0;
};

class LinuxComponentHost : public ComponentHost {
public:
    QString SystemFolder() const override;
    bool FileExists(const QString& path) const override;
    bool CopyFile(const QString& from, const QString& to) override;
    bool StartRegistration(const QString& commandLine) override;
};

// The host RegisterOCX uses; nullptr puts the Linux host back.
void SetComponentHost(ComponentHost* host);

class RegisterOCX : public Form {
    Q_OBJECT
public:
    RegisterOCX();

    // The shipped components, in the order they are checked.
    static QStringList ComponentList();

protected:
    void Form_Load() override;

private:
    void EnsureComponent(const QString& systemFolder, const QString& fileName);
    QString GetSystemFolder() const;
};

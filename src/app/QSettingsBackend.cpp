#include "QtServices.h"

#include "services/TabrixError.h"

#ifdef Q_OS_WIN
#include <QSettings>
#else
#include "project/SafeFile.h"
#include "settings/IniText.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#endif

#include <memory>

namespace {

TabrixError WriteFailure(const std::string& name) {
    return TabrixError("Failed to set data for '" + name + "'");
}

#ifdef Q_OS_WIN

// The user's own key only: without fallbacks QSettings does not take a value missing
// there from the machine's key.
std::unique_ptr<QSettings> OpenUserSettings() {
    auto settings = std::make_unique<QSettings>("Marvane", "Tabrix");
    settings->setFallbacksEnabled(false);
    return settings;
}

#else

constexpr std::size_t MaxSettingsFileBytes = 16 << 20; // the program writes some 200 bytes
constexpr int LockWaitMilliseconds = 1000;
const char* const Group = "General";

QString StoreFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Marvane";
}

std::string StorePath() {
    return (StoreFolder() + "/Tabrix.conf").toStdString();
}

// The store's text; empty when there is no store yet. Anything but a regular file of a
// sane size in its place throws: a FIFO or a device would never end.
std::string ReadStore() {
    const std::string path = StorePath();
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists() && !info.isSymLink()) {
        return {};
    }
    return ReadRegularFile(path, MaxSettingsFileBytes);
}

#endif

} // namespace

std::optional<std::int64_t> QSettingsBackend::ReadInteger(const std::string& name) {
#ifdef Q_OS_WIN
    const QVariant value = OpenUserSettings()->value(QString::fromStdString(name));
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toLongLong();
    default:
        return std::nullopt; // a text value in the registry is no integer
    }
#else
    try {
        const auto value = IniValue(ReadStore(), Group, name);
        if (const auto number = value ? IniInteger(*value) : std::nullopt) {
            return *number;
        }
    } catch (const TabrixError&) {
        // an unreadable store: every value falls back to its default
    }
    return std::nullopt;
#endif
}

void QSettingsBackend::WriteInteger(const std::string& name, std::int32_t value) {
#ifdef Q_OS_WIN
    const auto settings = OpenUserSettings();
    settings->setValue(QString::fromStdString(name), value);
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw WriteFailure(name);
    }
#else
    // The same lock as Qt's own settings code takes, so that two running copies do not
    // write over each other; a lock that cannot be had within a second (a stale folder in
    // its place, a copy that hangs) fails the write instead of the program.
    if (!QDir().mkpath(StoreFolder())) {
        throw WriteFailure(name);
    }
    QLockFile lock(QString::fromStdString(StorePath()) + ".lock");
    if (!lock.tryLock(LockWaitMilliseconds)) {
        throw WriteFailure(name);
    }
    try {
        ReplaceFileContents(StorePath(),
                            WithIniValue(ReadStore(), Group, name, std::to_string(value)));
    } catch (const TabrixError&) {
        throw WriteFailure(name);
    }
#endif
}

#include "QtServices.h"
#include "services/TabrixError.h"
#include "settings/SettingsStore.h"
#include "UnprivilegedFileUser.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The settings folder and the system-wide one, fixed before the first QSettings call of
// the process.
QTemporaryDir* configHome = nullptr;
QTemporaryDir* systemConfig = nullptr;

std::string StoreFolder() {
    return configHome->filePath("Marvane").toStdString();
}

std::string StoreFile() {
    return StoreFolder() + "/Tabrix.conf";
}

// The file's bytes, or what stands in its place.
std::optional<std::string> FileBytes(const std::string& path) {
    const auto status = std::filesystem::status(path);
    if (std::filesystem::is_directory(status)) {
        return "a folder";
    }
    if (std::filesystem::is_fifo(status)) {
        return "a FIFO"; // opening it to read would wait for a writer
    }
    if (std::filesystem::is_character_file(status)) {
        return "a device";
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Qt keeps every settings file it has read in a cache of the process, also after a read
// failed; each case runs in a child process so that none sees what an earlier one read.
template <typename Body> void InChildProcess(Body body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::alarm(10); // a case that blocks ends as a failure, not as a hung run
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed in the child, above";
}

struct StoreCase {
    const char* name;
    // Puts the settings file (or what stands in its place) into the folder.
    void (*make)(const std::string& content);
    bool valuesReadable;
};

void PrintTo(const StoreCase& c, std::ostream* os) {
    *os << c.name;
}

void WriteStore(const std::string& content, mode_t fileMode, mode_t folderMode) {
    std::ofstream(StoreFile(), std::ios::binary | std::ios::trunc) << content;
    ::chmod(StoreFile().c_str(), fileMode);
    ::chmod(StoreFolder().c_str(), folderMode);
}

class SettingsFile : public ::testing::TestWithParam<StoreCase> {
  protected:
    void SetUp() override {
        QDir().mkpath(QString::fromStdString(StoreFolder()));
        ::chmod(configHome->path().toLocal8Bit().constData(), 0755);
        content = "[General]\nCreateRowOnEdit=1\nKonnexCellColour=65280\n";
        GetParam().make(content);
    }
    void TearDown() override {
        ::chmod(StoreFolder().c_str(), 0755);
        QDir(QString::fromStdString(StoreFolder())).removeRecursively();
    }

    std::string content;
};

// Values that cannot be read fall back to their defaults, a change that cannot be
// written is reported and stays in effect, and the file keeps what it held.
TEST_P(SettingsFile, FallsBackOrLoadsAndKeepsTheFile) {
    const std::optional<std::string> before = FileBytes(StoreFile());
    InChildProcess([] {
        QSettingsBackend backend;
        SettingsStore store(backend);
        UnprivilegedFileUser user;
        store.LoadSettings();
        ASSERT_TRUE(store.Loaded());
        if (GetParam().valuesReadable) {
            EXPECT_TRUE(store.Option(TagCreateRowOnEdit));
            EXPECT_EQ(store.Colour(TagKonnexCellColour), TColor(65280));
        } else {
            EXPECT_FALSE(store.Option(TagCreateRowOnEdit));
            EXPECT_EQ(store.Colour(TagKonnexCellColour), TColor(0x00FFFFFF));
        }
        const bool wasOn = store.Option(TagCreateRowOnEdit);
        EXPECT_THROW(store.BooleanMenuItemOnClick(TagCreateRowOnEdit), TabrixError);
        EXPECT_EQ(store.Option(TagCreateRowOnEdit), !wasOn);
    });
    EXPECT_EQ(FileBytes(StoreFile()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFile,
    ::testing::Values(
        StoreCase{"UnreadableFile", [](const std::string& c) { WriteStore(c, 0, 0755); }, false},
        // Neither the file nor its folder may be written: no way to replace the file either.
        StoreCase{"ReadOnlyFileAndFolder", [](const std::string& c) { WriteStore(c, 0444, 0555); },
                  true},
        StoreCase{"FolderInPlaceOfTheFile",
                  [](const std::string&) { ::mkdir(StoreFile().c_str(), 0755); }, false},
        StoreCase{"FifoInPlaceOfTheFile",
                  [](const std::string&) { ::mkfifo(StoreFile().c_str(), 0600); }, false},
        StoreCase{"LinkToADeviceThatNeverEnds",
                  [](const std::string&) { ::symlink("/dev/zero", StoreFile().c_str()); }, false},
        // Far beyond anything the program writes (some 200 bytes); not read, so that no
        // file can balloon the memory.
        StoreCase{
            "HugeFile",
            [](const std::string& c) { WriteStore(c + std::string(17 << 20, '\n'), 0644, 0755); },
            false}),
    [](const auto& info) { return std::string(info.param.name); });

// A value that Qt would decode as a typed value, nested deep enough to exhaust the stack
// of a recursive decoder, is plain text here: every value falls back on its own.
TEST(SettingsValues, NestedTypedValueFallsBackWithoutHarm) {
    QDir().mkpath(QString::fromStdString(StoreFolder()));
    std::string nested = "@Variant(";
    for (int i = 0; i < 30000; ++i) {
        nested += "\\0\\0\\0\\t\\0\\0\\0\\x1";
    }
    nested += "\\0\\0\\0\\x2\\0\\0\\0\\x5)";
    std::ofstream(StoreFile()) << "[General]\nKonnexCellColour=" << nested
                               << "\nCreateRowOnEdit=1\n";
    InChildProcess([] {
        QSettingsBackend backend;
        SettingsStore store(backend);
        store.LoadSettings();
        EXPECT_TRUE(store.Option(TagCreateRowOnEdit));
        EXPECT_EQ(store.Colour(TagKonnexCellColour), TColor(0x00FFFFFF));
    });
    QDir(QString::fromStdString(StoreFolder())).removeRecursively();
}

// A folder in place of the lock file: the write gives up within a second and reports the
// settings error, the change stays in effect and the file keeps what it held.
TEST(SettingsValues, LockThatCannotBeHadFailsTheWriteSoon) {
    QDir().mkpath(QString::fromStdString(StoreFolder()));
    const std::string content = "[General]\nCreateRowOnEdit=1\n";
    std::ofstream(StoreFile()) << content;
    QDir().mkpath(QString::fromStdString(StoreFile() + ".lock"));
    InChildProcess([] {
        QSettingsBackend backend;
        SettingsStore store(backend);
        store.LoadSettings();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THROW(store.BooleanMenuItemOnClick(TagCreateRowOnEdit), TabrixError);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
        EXPECT_FALSE(store.Option(TagCreateRowOnEdit));
    });
    EXPECT_EQ(FileBytes(StoreFile()), content);
    QDir(QString::fromStdString(StoreFolder())).removeRecursively();
}

// What the program writes it reads again, in a later run as in this one.
TEST(SettingsValues, WrittenValuesAreReadBack) {
    QDir(QString::fromStdString(StoreFolder())).removeRecursively();
    InChildProcess([] {
        QSettingsBackend backend;
        backend.WriteInteger("ErrorCellColour", 65280);
        backend.WriteInteger("CreateRowOnEdit", 1);
        EXPECT_EQ(backend.ReadInteger("ErrorCellColour"), 65280);
        EXPECT_EQ(backend.ReadInteger("CreateRowOnEdit"), 1);
        EXPECT_EQ(backend.ReadInteger("IncrementGroupAddress"), std::nullopt);
    });
    EXPECT_EQ(FileBytes(StoreFile()), "[General]\nErrorCellColour=65280\nCreateRowOnEdit=1\n");
    QDir(QString::fromStdString(StoreFolder())).removeRecursively();
}

// Values that the user's own file lacks take their defaults, whatever the organisation's
// file beside it or the system-wide folder holds.
TEST(SettingsFallbacks, OnlyTheUsersOwnFileIsRead) {
    QDir().mkpath(QString::fromStdString(StoreFolder()));
    QDir().mkpath(systemConfig->filePath("Marvane"));
    std::ofstream(StoreFile()) << "[General]\nCreateRowOnEdit=1\n";
    std::ofstream(configHome->filePath("Marvane.conf").toStdString())
        << "[General]\nIncrementGroupAddress=1\nErrorCellColour=65280\n";
    std::ofstream(systemConfig->filePath("Marvane/Tabrix.conf").toStdString())
        << "[General]\nIncrementVariableIndex=1\nModBusCellColour=255\n";
    InChildProcess([] {
        QSettingsBackend backend;
        SettingsStore store(backend);
        store.LoadSettings();
        EXPECT_TRUE(store.Option(TagCreateRowOnEdit));
        EXPECT_FALSE(store.Option(TagIncrementGroupAddress));
        EXPECT_FALSE(store.Option(TagIncrementVariableIndex));
        EXPECT_EQ(store.Colour(TagErrorCellColour), TColor(0x000000FF));
        EXPECT_EQ(store.Colour(TagModBusCellColour), TColor(0x00EAEAEA));
    });
    QFile::remove(configHome->filePath("Marvane.conf"));
    QDir(QString::fromStdString(StoreFolder())).removeRecursively();
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    configHome = &home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QTemporaryDir system;
    systemConfig = &system;
    qputenv("XDG_CONFIG_DIRS", system.path().toLocal8Bit());
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

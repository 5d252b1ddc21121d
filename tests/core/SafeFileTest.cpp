#include "project/SafeFile.h"
#include "FakeServices.h"
#include "project/ProjectWriter.h"
#include "UnprivilegedFileUser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string PreviousFile = "<previous file, kept byte for byte>\n";

// A tmpfs mounted over a folder for the length of a test; unmounted before the folder goes.
class ScopedTmpfs {
  public:
    ScopedTmpfs(const std::string& where, const char* options)
        : where_(where), mounted_(::mount("tmpfs", where.c_str(), "tmpfs", 0, options) == 0),
          error_(mounted_ ? 0 : errno) {}
    ~ScopedTmpfs() {
        if (mounted_) {
            ::umount2(where_.c_str(), MNT_DETACH);
        }
    }
    ScopedTmpfs(const ScopedTmpfs&) = delete;
    ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;
    bool Mounted() const { return mounted_; }
    std::string Why() const {
        return std::string("cannot mount a tmpfs: ") + std::strerror(error_);
    }
    bool MakeReadOnly() {
        return ::mount("tmpfs", where_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::string where_;
    bool mounted_;
    int error_;
};

// Limits the size of files this process writes, with the signal that would end it ignored,
// so that writes come back short and then fail.
class ScopedFileSizeLimit {
  public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

// Far more than 64 KiB of project file.
void FillLargeTable(Workbench& bench) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= 110; ++i) {
        rows.push_back({"1/0/" + std::to_string(i), std::string(600, 'n'), "Boolean", "IN",
                        std::to_string(i), "Coil", "None", ""});
    }
    bench.SetRows(rows);
}

// ---- Failed saves keep the previous file ----------------------------------------------

// What a case prepares: the folder where the target lives, the target, a mount, and a
// condition that holds only while the save runs (a file size limit, or file access as an
// unprivileged user). A skip reason skips the case.
struct Prepared {
    std::string folder;
    std::string target;
    std::shared_ptr<void> mount;
    std::string skipReason;
    std::shared_ptr<void> duringSave;
};

struct FailedSaveCase {
    const char* name;
    std::function<Prepared(const TempFolder&, Workbench&)> prepare;
    std::string errorStart; // the message's second text begins with this
};

void PrintTo(const FailedSaveCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedSave : public ::testing::TestWithParam<FailedSaveCase> {};

TEST_P(FailedSave, ShowsTheMessageAndLeavesTheFolderAsItWas) {
    const FailedSaveCase& c = GetParam();
    TempFolder temp;
    Workbench bench;
    bench.SetRows(WorkedExampleRows());
    Prepared prepared = c.prepare(temp, bench);
    if (!prepared.skipReason.empty()) {
        GTEST_SKIP() << prepared.skipReason;
    }
    const std::vector<std::string> entriesBefore = FolderEntries(prepared.folder);
    struct stat before {};
    const bool existed = ::stat(prepared.target.c_str(), &before) == 0;

    const bool written =
        WriteProjectFile(bench.table, bench.options, bench.messageBox, prepared.target);
    prepared.duringSave.reset(); // before the checks, which may write to a file themselves

    EXPECT_FALSE(written);
    ASSERT_EQ(bench.messageBox.shown.size(), 1u);
    const std::string expectedStart =
        "Error saving to file " + prepared.target + ": " + c.errorStart;
    EXPECT_EQ(bench.messageBox.shown[0].text.substr(0, expectedStart.size()), expectedStart)
        << bench.messageBox.shown[0].text;
    EXPECT_EQ(bench.messageBox.shown[0].text.back(), '.');
    EXPECT_EQ(bench.messageBox.shown[0].caption, "Error saving file.");
    EXPECT_EQ(bench.messageBox.shown[0].flags, MbOk);
    EXPECT_EQ(FolderEntries(prepared.folder), entriesBefore) << "a temporary file was left";
    if (existed && S_ISREG(before.st_mode)) {
        EXPECT_EQ(ReadFileBytes(prepared.target), PreviousFile);
    }
}

Prepared Target(const std::string& folder, const std::string& target) {
    Prepared prepared;
    prepared.folder = folder;
    prepared.target = target;
    return prepared;
}

Prepared Skip(const std::string& reason) {
    Prepared prepared;
    prepared.skipReason = reason;
    return prepared;
}

Prepared PreviousFileIn(const std::string& folder) {
    WriteFileBytes(folder + "/project.xml", PreviousFile);
    return Target(folder, folder + "/project.xml");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedSave,
    ::testing::Values(
        FailedSaveCase{"BadRow",
                       [](const TempFolder& temp, Workbench& bench) {
                           bench.table.SetCellEx(ColAddress, 2, "");
                           return PreviousFileIn(temp.Path());
                       },
                       "Invalid string  for Konnex Address"},
        FailedSaveCase{"MissingFolder",
                       [](const TempFolder& temp, Workbench&) {
                           return Target(temp.Path(), temp.File("missing/project.xml"));
                       },
                       "Unable to open XML writer."},
        FailedSaveCase{"PathIsAFolder",
                       [](const TempFolder& temp, Workbench&) {
                           ::mkdir(temp.File("project.xml").c_str(), 0755);
                           WriteFileBytes(temp.File("project.xml/inside"), PreviousFile);
                           return Target(temp.Path(), temp.File("project.xml"));
                       },
                       "Unable to open XML writer."},
        // Root ignores permission bits, so the folder is made read-only by its mount.
        FailedSaveCase{"ReadOnlyFolder",
                       [](const TempFolder& temp, Workbench&) {
                           auto mount = std::make_shared<ScopedTmpfs>(temp.Path(), "size=64k");
                           if (!mount->Mounted()) {
                               return Skip(mount->Why());
                           }
                           Prepared prepared = PreviousFileIn(temp.Path());
                           if (!mount->MakeReadOnly()) {
                               return Skip("cannot remount the tmpfs read-only");
                           }
                           prepared.mount = mount;
                           return prepared;
                       },
                       "Unable to open XML writer."},
        FailedSaveCase{"FullDisk",
                       [](const TempFolder& temp, Workbench& bench) {
                           auto mount = std::make_shared<ScopedTmpfs>(temp.Path(), "size=64k");
                           if (!mount->Mounted()) {
                               return Skip(mount->Why());
                           }
                           FillLargeTable(bench);
                           Prepared prepared = PreviousFileIn(temp.Path());
                           prepared.mount = mount;
                           return prepared;
                       },
                       "Unable to write the file: No space left on device"},
        // Short writes, then a refused one.
        FailedSaveCase{"FileSizeLimit",
                       [](const TempFolder& temp, Workbench& bench) {
                           FillLargeTable(bench);
                           Prepared prepared = PreviousFileIn(temp.Path());
                           prepared.duringSave = std::make_shared<ScopedFileSizeLimit>(10000);
                           return prepared;
                       },
                       "Unable to write the file: File too large"},
        // The folder would let the file be replaced; the file itself says no.
        FailedSaveCase{"ReadOnlyFile",
                       [](const TempFolder& temp, Workbench&) {
                           ::chmod(temp.Path().c_str(), 0777);
                           Prepared prepared = PreviousFileIn(temp.Path());
                           ::chmod(prepared.target.c_str(), 0444);
                           prepared.duringSave = std::make_shared<UnprivilegedFileUser>();
                           return prepared;
                       },
                       "Unable to open XML writer."}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Successful saves ------------------------------------------------------------------

TEST(SafeSave, ReplacesAnExistingFileKeepingItsPermissions) {
    TempFolder temp;
    const std::string path = temp.File("project.xml");
    WriteFileBytes(path, PreviousFile);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    Workbench bench;
    bench.SetRows(WorkedExampleRows());

    ASSERT_TRUE(WriteProjectFile(bench.table, bench.options, bench.messageBox, path));
    EXPECT_TRUE(bench.messageBox.shown.empty());
    EXPECT_EQ(ReadFileBytes(path), BuildProjectDocument(bench.table, bench.options));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries(temp.Path()), std::vector<std::string>{"project.xml"});
}

TEST(SafeSave, GivesANewFileTheUsualPermissions) {
    TempFolder temp;
    const std::string path = temp.File("new.xml");
    const mode_t mask = ::umask(022);
    ReplaceFileContents(path, "text");
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    EXPECT_EQ(ReadFileBytes(path), "text");
}

// The file a link names is replaced; the link stays a link.
TEST(SafeSave, ReplacesTheFileBehindASymbolicLink) {
    TempFolder temp;
    WriteFileBytes(temp.File("real.xml"), PreviousFile);
    ASSERT_EQ(::symlink("real.xml", temp.File("link.xml").c_str()), 0);

    ReplaceFileContents(temp.File("link.xml"), "new");

    struct stat info {};
    ASSERT_EQ(::lstat(temp.File("link.xml").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFileBytes(temp.File("real.xml")), "new");
    EXPECT_EQ(FolderEntries(temp.Path()), (std::vector<std::string>{"link.xml", "real.xml"}));
}

// ---- Reading whole files ---------------------------------------------------------------

TEST(ReadRegularFile, ReadsTheBytesOfAFile) {
    TempFolder temp;
    const std::string bytes("a\0b\xFF\n", 5);
    WriteFileBytes(temp.File("f"), bytes);
    EXPECT_EQ(ReadRegularFile(temp.File("f"), 5), bytes);
    WriteFileBytes(temp.File("empty"), "");
    EXPECT_EQ(ReadRegularFile(temp.File("empty"), 5), "");
}

TEST(ReadRegularFile, RefusesWhatIsNoRegularFileOrTooLarge) {
    TempFolder temp;
    ASSERT_EQ(::mkfifo(temp.File("fifo").c_str(), 0600), 0);
    ::mkdir(temp.File("folder").c_str(), 0755);
    WriteFileBytes(temp.File("six"), "123456");

    ::alarm(5); // a blocking open would hang the run; end it instead
    EXPECT_THROW(ReadRegularFile(temp.File("fifo"), 100), TabrixError);
    ::alarm(0);
    EXPECT_THROW(ReadRegularFile(temp.File("folder"), 100), TabrixError);
    EXPECT_THROW(ReadRegularFile("/dev/zero", 100), TabrixError);
    EXPECT_THROW(ReadRegularFile(temp.File("missing"), 100), TabrixError);
    EXPECT_THROW(ReadRegularFile(temp.File("six"), 5), TabrixError);
    EXPECT_EQ(ReadRegularFile(temp.File("six"), 6), "123456");
}

} // namespace

#include "project/SafeFile.h"
#include "FakeServices.h"
#include "project/ProjectWriter.h"
#include "UnprivilegedFileUser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// ---- Steps made to fail ----------------------------------------------------------------

namespace {

// The steps of a save that a case can make fail, once, or end the process at, as a
// kill -9 would.
enum class Step { CreateUnnamed, Flush, Name, Truncate, Rename, Count };
constexpr int Killed = -1;

struct Fault {
    bool armed = false;
    int error = 0;
};
std::array<Fault, static_cast<size_t>(Step::Count)> faults;

// True, with errno set, for the call that is to fail.
bool Fails(Step step) {
    Fault& fault = faults[static_cast<size_t>(step)];
    if (!fault.armed) {
        return false;
    }
    fault.armed = false;
    if (fault.error == Killed) {
        ::kill(::getpid(), SIGKILL);
    }
    errno = fault.error;
    return true;
}

template <typename Function> Function* NextDefinition(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

class ScopedFault {
  public:
    ScopedFault(Step step, int error) : fault_(faults[static_cast<size_t>(step)]) {
        fault_ = Fault{true, error};
    }
    ~ScopedFault() { fault_.armed = false; }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

  private:
    Fault& fault_;
};

} // namespace

// The test program's own definitions of these calls come before the C library's, the
// save's calls included, so that a case can make a step fail where no real condition
// would; they pass every call on unless a fault is armed.
extern "C" int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list rest;
        va_start(rest, flags);
        mode = va_arg(rest, mode_t);
        va_end(rest);
    }
    if ((flags & O_TMPFILE) == O_TMPFILE && Fails(Step::CreateUnnamed)) {
        return -1;
    }
    static auto* const next = NextDefinition<int(const char*, int, ...)>("open");
    return next(path, flags, mode);
}

extern "C" int fdatasync(int fd) {
    if (Fails(Step::Flush)) {
        return -1;
    }
    static auto* const next = NextDefinition<int(int)>("fdatasync");
    return next(fd);
}

extern "C" int linkat(int fromFolder, const char* from, int toFolder, const char* to,
                      int flags) noexcept {
    if (Fails(Step::Name)) {
        return -1;
    }
    static auto* const next =
        NextDefinition<int(int, const char*, int, const char*, int)>("linkat");
    return next(fromFolder, from, toFolder, to, flags);
}

extern "C" int ftruncate(int fd, off_t length) noexcept {
    if (Fails(Step::Truncate)) {
        return -1;
    }
    static auto* const next = NextDefinition<int(int, off_t)>("ftruncate");
    return next(fd, length);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (Fails(Step::Rename)) {
        return -1;
    }
    static auto* const next = NextDefinition<int(const char*, const char*)>("rename");
    return next(from, to);
}

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

// What a case prepares: the folder where the target lives, the target, a mount, and
// conditions that hold only while the save runs (a file size limit, file access as an
// unprivileged user, a step that fails). A skip reason skips the case.
struct Prepared {
    std::string folder;
    std::string target;
    std::shared_ptr<void> mount;
    std::string skipReason;
    std::vector<std::shared_ptr<void>> duringSave;
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
    prepared.duringSave.clear(); // before the checks, which may write to a file themselves

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

// A second name for the file, so that the save writes it in place.
Prepared HardLinkedPreviousFileIn(const std::string& folder) {
    Prepared prepared = PreviousFileIn(folder);
    if (::link(prepared.target.c_str(), (folder + "/other-name.xml").c_str()) != 0) {
        return Skip(std::string("cannot link: ") + std::strerror(errno));
    }
    return prepared;
}

Prepared Failing(Prepared prepared, Step step, int error) {
    prepared.duringSave.push_back(std::make_shared<ScopedFault>(step, error));
    return prepared;
}

Prepared WithFileSizeLimit(Prepared prepared) {
    prepared.duringSave.push_back(std::make_shared<ScopedFileSizeLimit>(10000));
    return prepared;
}

// As where the file system has no unnamed files: the temporary file has a name throughout.
Prepared WithoutUnnamedFiles(Prepared prepared) {
    return Failing(std::move(prepared), Step::CreateUnnamed, EOPNOTSUPP);
}

// A file mounted over itself is a mount point, as a file handed into a container is; no
// rename may replace it.
class ScopedBindMount {
  public:
    explicit ScopedBindMount(const std::string& path)
        : path_(path),
          mounted_(::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) == 0) {}
    ~ScopedBindMount() {
        if (mounted_) {
            ::umount2(path_.c_str(), MNT_DETACH);
        }
    }
    ScopedBindMount(const ScopedBindMount&) = delete;
    ScopedBindMount& operator=(const ScopedBindMount&) = delete;
    bool Mounted() const { return mounted_; }

  private:
    std::string path_;
    bool mounted_;
};

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
                           return WithFileSizeLimit(PreviousFileIn(temp.Path()));
                       },
                       "Unable to write the file: File too large"},
        // The folder would let the file be replaced; the file itself says no.
        FailedSaveCase{"ReadOnlyFile",
                       [](const TempFolder& temp, Workbench&) {
                           ::chmod(temp.Path().c_str(), 0777);
                           Prepared prepared = PreviousFileIn(temp.Path());
                           ::chmod(prepared.target.c_str(), 0444);
                           prepared.duringSave.push_back(std::make_shared<UnprivilegedFileUser>());
                           return prepared;
                       },
                       "Unable to open XML writer."},
        // The later steps of the replacement failing in turn (creating and writing fail
        // above: MissingFolder, FullDisk, FileSizeLimit).
        FailedSaveCase{"FlushFails",
                       [](const TempFolder& temp, Workbench&) {
                           return Failing(PreviousFileIn(temp.Path()), Step::Flush, EIO);
                       },
                       "Unable to write the file: Input/output error"},
        FailedSaveCase{"NamingFails",
                       [](const TempFolder& temp, Workbench&) {
                           return Failing(PreviousFileIn(temp.Path()), Step::Name, ENOSPC);
                       },
                       "Unable to write the file: No space left on device"},
        FailedSaveCase{"RenameFails",
                       [](const TempFolder& temp, Workbench&) {
                           return Failing(PreviousFileIn(temp.Path()), Step::Rename, EIO);
                       },
                       "Unable to write the file: Input/output error"},
        FailedSaveCase{"RenameRefusedOverAMountPoint",
                       [](const TempFolder& temp, Workbench&) {
                           Prepared prepared = PreviousFileIn(temp.Path());
                           auto mount = std::make_shared<ScopedBindMount>(prepared.target);
                           if (!mount->Mounted()) {
                               return Skip("cannot bind-mount a file");
                           }
                           prepared.mount = mount;
                           return prepared;
                       },
                       "Unable to write the file: Device or resource busy"},
        // A named temporary file goes as well.
        FailedSaveCase{"NamedTemporaryWriteFails",
                       [](const TempFolder& temp, Workbench& bench) {
                           FillLargeTable(bench);
                           return WithFileSizeLimit(
                               WithoutUnnamedFiles(PreviousFileIn(temp.Path())));
                       },
                       "Unable to write the file: File too large"},
        FailedSaveCase{"NamedTemporaryRenameFails",
                       [](const TempFolder& temp, Workbench&) {
                           return Failing(WithoutUnnamedFiles(PreviousFileIn(temp.Path())),
                                          Step::Rename, EIO);
                       },
                       "Unable to write the file: Input/output error"},
        // Written in place, the old bytes are put back.
        FailedSaveCase{"InPlaceWriteFails",
                       [](const TempFolder& temp, Workbench& bench) {
                           FillLargeTable(bench);
                           return WithFileSizeLimit(HardLinkedPreviousFileIn(temp.Path()));
                       },
                       "Unable to write the file: File too large"},
        FailedSaveCase{"InPlaceTruncateFails",
                       [](const TempFolder& temp, Workbench&) {
                           return Failing(HardLinkedPreviousFileIn(temp.Path()), Step::Truncate,
                                          EIO);
                       },
                       "Unable to write the file: Input/output error"},
        FailedSaveCase{"InPlaceFlushFails",
                       [](const TempFolder& temp, Workbench&) {
                           return Failing(HardLinkedPreviousFileIn(temp.Path()), Step::Flush, EIO);
                       },
                       "Unable to write the file: Input/output error"},
        FailedSaveCase{"SymbolicLinkLoop",
                       [](const TempFolder& temp, Workbench&) {
                           ::symlink("b.xml", temp.File("a.xml").c_str());
                           ::symlink("a.xml", temp.File("b.xml").c_str());
                           return Target(temp.Path(), temp.File("a.xml"));
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

// Links, even dangling ones, lead the save to the file they name.
struct LinkCase {
    const char* name;
    std::vector<std::string> folders;
    // Each link and what it holds; "@" stands for the test's folder.
    std::vector<std::pair<std::string, std::string>> links;
    std::string saved;
    std::string written;
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

class SafeSaveThroughLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SafeSaveThroughLinks, WritesTheFileTheLastLinkNamesAndKeepsTheLinks) {
    const LinkCase& c = GetParam();
    TempFolder temp;
    for (const std::string& folder : c.folders) {
        ASSERT_EQ(::mkdir(temp.File(folder).c_str(), 0755), 0);
    }
    auto linkText = [&](std::string text) {
        if (text.front() == '@') {
            text.replace(0, 1, temp.Path());
        }
        return text;
    };
    for (const auto& [link, target] : c.links) {
        ASSERT_EQ(::symlink(linkText(target).c_str(), temp.File(link).c_str()), 0);
    }

    ReplaceFileContents(temp.File(c.saved), "new");

    for (const auto& [link, target] : c.links) {
        char text[PATH_MAX] = {};
        ASSERT_GT(::readlink(temp.File(link).c_str(), text, sizeof text - 1), 0) << link;
        EXPECT_EQ(text, linkText(target));
    }
    struct stat info {};
    ASSERT_EQ(::lstat(temp.File(c.written).c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(ReadFileBytes(temp.File(c.written)), "new");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeSaveThroughLinks,
    ::testing::Values(LinkCase{"Dangling", {}, {{"link.xml", "real.xml"}}, "link.xml", "real.xml"},
                      LinkCase{"RelativeToItsOwnFolder",
                               {"links", "data"},
                               {{"links/link.xml", "../data/real.xml"}},
                               "links/link.xml",
                               "data/real.xml"},
                      LinkCase{"Chain",
                               {"data"},
                               {{"first.xml", "second.xml"}, {"second.xml", "@/data/real.xml"}},
                               "first.xml",
                               "data/real.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

// A name as long as Linux allows.
class SafeSaveTemporaryName : public ::testing::TestWithParam<bool> {};

TEST_P(SafeSaveTemporaryName, TakesTheLongestName) {
    TempFolder temp;
    const std::string name(255, 'n');
    WriteFileBytes(temp.File(name), PreviousFile);
    {
        std::optional<ScopedFault> named;
        if (!GetParam()) {
            named.emplace(Step::CreateUnnamed, EOPNOTSUPP);
        }
        ReplaceFileContents(temp.File(name), "new");
    }
    EXPECT_EQ(ReadFileBytes(temp.File(name)), "new");
    EXPECT_EQ(FolderEntries(temp.Path()), std::vector<std::string>{name});
}

INSTANTIATE_TEST_SUITE_P(Cases, SafeSaveTemporaryName, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

// ---- Saves as other users and killed saves ---------------------------------------------

struct User {
    uid_t uid;
    gid_t gid;
    std::vector<gid_t> groups;
};

const User Root{0, 0, {0}};
constexpr uid_t Alice = 4001;
constexpr uid_t Bob = 4002;
constexpr gid_t Team = 4242;

// Runs body in a child process as user and returns how the child ended: exit 0 when body
// returned, 1 when it threw TabrixError.
int InChild(const User& user, const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (user.uid != 0 && (::setgroups(user.groups.size(), user.groups.data()) != 0 ||
                              ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0)) {
            ::_exit(3);
        }
        try {
            body();
            ::_exit(0);
        } catch (const TabrixError&) {
            ::_exit(1);
        } catch (...) {
            ::_exit(2);
        }
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

// A file keeps its owner, group, permissions and links, whoever saves it; set-id bits go,
// as a write by anyone but root takes them away.
struct KeptFileCase {
    const char* name;
    mode_t folderMode;
    gid_t folderGroup;
    uid_t owner;
    gid_t group;
    mode_t mode;
    bool secondLink;
    User saver;
    bool inPlace; // rather than replaced by a new file
};

void PrintTo(const KeptFileCase& c, std::ostream* os) {
    *os << c.name;
}

class SafeSaveKeepsTheFile : public ::testing::TestWithParam<KeptFileCase> {};

TEST_P(SafeSaveKeepsTheFile, AsItWasWithTheNewBytes) {
    const KeptFileCase& c = GetParam();
    if (::geteuid() != 0) {
        GTEST_SKIP() << "files of other users need root";
    }
    TempFolder temp;
    ASSERT_EQ(::chmod(temp.Path().c_str(), 0755), 0);
    const std::string folder = temp.File("shared");
    const std::string path = folder + "/project.xml";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::chown(folder.c_str(), 0, c.folderGroup), 0);
    ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
    WriteFileBytes(path, PreviousFile);
    ASSERT_EQ(::chown(path.c_str(), c.owner, c.group), 0);
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    std::vector<std::string> entries{"project.xml"};
    if (c.secondLink) {
        ASSERT_EQ(::link(path.c_str(), (folder + "/other-name.xml").c_str()), 0);
        entries.insert(entries.begin(), "other-name.xml");
    }
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    const int status = InChild(c.saver, [&] { ReplaceFileContents(path, "new"); });

    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(after.st_uid, c.owner);
    EXPECT_EQ(after.st_gid, c.group);
    EXPECT_EQ(after.st_mode & 07777, c.mode & 0777);
    EXPECT_EQ(after.st_nlink, before.st_nlink);
    EXPECT_EQ(after.st_ino == before.st_ino, c.inPlace);
    EXPECT_EQ(FolderEntries(folder), entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeSaveKeepsTheFile,
    ::testing::Values(KeptFileCase{"RootSavesAnotherUsersFile", 0770, Team, Alice, Team, 0660,
                                   false, Root, false},
                      KeptFileCase{"OwnerSavesAFileOfItsTeam", 0770, Team, Alice, Team, 0660, false,
                                   User{Alice, Alice, {Alice, Team}}, false},
                      // Bob may not give a new file to Alice.
                      KeptFileCase{"TeamMateSavesAnotherMembersFile", 0770, Team, Alice, Team, 0660,
                                   false, User{Bob, Bob, {Bob, Team}}, true},
                      KeptFileCase{"FolderTakesNoNewFile", 0755, 0, Bob, Bob, 0644, false,
                                   User{Bob, Bob, {Bob}}, true},
                      KeptFileCase{"HardLinkedFile", 0755, 0, 0, 0, 0644, true, Root, true},
                      KeptFileCase{"SetIdFileWrittenInPlace", 0755, 0, 0, 0, 06755, true, Root,
                                   true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SafeSaveKilled, LeavesNothingBehind) {
    TempFolder temp;
    const std::string path = temp.File("project.xml");
    WriteFileBytes(path, PreviousFile);

    const int status = InChild(Root, [&] {
        ScopedFault kill(Step::Flush, Killed);
        ReplaceFileContents(path, "new");
    });

    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child status " << status;
    EXPECT_EQ(FolderEntries(temp.Path()), std::vector<std::string>{"project.xml"});
    EXPECT_EQ(ReadFileBytes(path), PreviousFile);
}

// Where files cannot be unnamed, a killed save leaves its temporary file; a later save
// removes it once it is old, and nothing else.
TEST(SafeSaveKilled, WithNamedTemporariesTheNextSaveRemovesOnlyStaleOnesOfItsOwn) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a file of another user needs root";
    }
    TempFolder temp;
    const std::string path = temp.File("project.xml");
    WriteFileBytes(path, PreviousFile);
    auto killedSave = [&] {
        const std::vector<std::string> before = FolderEntries(temp.Path());
        const int status = InChild(Root, [&] {
            ScopedFault named(Step::CreateUnnamed, EOPNOTSUPP);
            ScopedFault kill(Step::Flush, Killed);
            ReplaceFileContents(path, "new");
        });
        EXPECT_TRUE(WIFSIGNALED(status)) << "child status " << status;
        std::vector<std::string> left;
        for (const std::string& name : FolderEntries(temp.Path())) {
            if (std::find(before.begin(), before.end(), name) == before.end()) {
                left.push_back(name);
            }
        }
        EXPECT_EQ(left.size(), 1u);
        return left.empty() ? std::string() : left[0];
    };
    const timespec longAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    auto age = [&](const std::string& name) {
        EXPECT_EQ(::utimensat(AT_FDCWD, temp.File(name).c_str(), longAgo, 0), 0);
    };
    const std::string stale = killedSave();
    const std::string fresh = killedSave();
    const std::string othersStale = killedSave();
    ASSERT_FALSE(stale.empty() || fresh.empty() || othersStale.empty());
    age(stale);
    age(othersStale);
    ASSERT_EQ(::chown(temp.File(othersStale).c_str(), Alice, Alice), 0);
    const std::string usersOwn = ".project.xml.A1b2C3";
    WriteFileBytes(temp.File(usersOwn), "kept");
    age(usersOwn);

    {
        ScopedFault named(Step::CreateUnnamed, EOPNOTSUPP);
        ReplaceFileContents(path, "newer");
    }

    std::vector<std::string> expected{usersOwn, fresh, othersStale, "project.xml"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(temp.Path()), expected);
    EXPECT_EQ(ReadFileBytes(path), "newer");
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

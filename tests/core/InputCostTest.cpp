#include "clipboard/EditCommands.h"
#include "FakeServices.h"
#include "project/ProjectReader.h"
#include "Sanitized.h"
#include "settings/IniText.h"
#include "xml/StartTagGuard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// What an input of N bytes may cost at each door for outside bytes (Open, Paste, the
// settings file): accepted or refused within about 100 ms per MB and within 4 x N + 50 MB
// of memory, whatever its shape.

namespace {

constexpr double MegaByte = 1e6;

// ---- The start-tag guard ---------------------------------------------------------------

struct GuardCase {
    const char* name;
    std::string text;
    bool withinBounds;
};

void PrintTo(const GuardCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Attributes(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += " a" + std::to_string(i) + "=\"v\"";
    }
    return text;
}

class StartTags : public ::testing::TestWithParam<GuardCase> {};

TEST_P(StartTags, AreBoundedInSizeAndAttributes) {
    const GuardCase& c = GetParam();
    EXPECT_EQ(StartTagGuard().Feed(c.text.data(), c.text.size()), c.withinBounds);
    // Fed a byte at a time, as pieces of a file arrive, the verdict is the same.
    StartTagGuard bytewise;
    for (const char byte : c.text) {
        bytewise.Feed(&byte, 1);
    }
    EXPECT_EQ(bytewise.WithinBounds(), c.withinBounds);
}

const std::string Padding(StartTagGuard::MaxStartTagBytes, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, StartTags,
    ::testing::Values(
        GuardCase{"AtTheAttributeBound", "<p" + Attributes(StartTagGuard::MaxAttributes) + "/>",
                  true},
        GuardCase{"PastTheAttributeBound",
                  "<p" + Attributes(StartTagGuard::MaxAttributes + 1) + "/>", false},
        GuardCase{"NamespaceDeclarationsCount",
                  "<p" + Attributes(200) +
                      [] {
                          std::string declarations;
                          for (int i = 0; i < 100; ++i) {
                              declarations += " xmlns:n" + std::to_string(i) + "=\"u\"";
                          }
                          return declarations;
                      }() +
                      ">",
                  false},
        GuardCase{"EachTagCountsAlone", "<p" + Attributes(200) + "/><q" + Attributes(200) + "></q>",
                  true},
        GuardCase{"LongTextIsNoTag", "<p>" + Padding + Padding + "</p>", true},
        GuardCase{"LongValueWithinTheBound",
                  "<p a=\"" + Padding.substr(0, Padding.size() - 16) + "\"/>", true},
        GuardCase{"LongValuePastTheBound", "<p a=\"" + Padding + "\"/>", false},
        GuardCase{"QuotedSignsAreNoAttributes",
                  "<p a=\"" + std::string(300, '=') + "\" b='>" + std::string(300, '=') + "'/>",
                  true},
        GuardCase{"CommentsSectionsAndInstructionsAreNoTags",
                  "<!-- <p" + Attributes(300) + "> -- -> --><![CDATA[<p" + Attributes(300) +
                      "> ]] ]>]]><?pi" + Attributes(300) + "?><p/>",
                  true},
        GuardCase{"TagAfterACommentStillCounts",
                  "<!-- x --><p" + Attributes(StartTagGuard::MaxAttributes + 1) + "/>", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Time and memory at each door --------------------------------------------------------

// The peak memory that body adds, in a child process whose peak is reset first (so
// that what the tests before it used does not count); -1 when the child failed.
long long PeakBytesOf(const std::function<void()>& body) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return -1;
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        const auto statusKilobytes = [](const char* field) {
            std::ifstream status("/proc/self/status");
            std::string line;
            while (std::getline(status, line)) {
                if (line.rfind(field, 0) == 0) {
                    return std::stoll(line.substr(std::string(field).size()));
                }
            }
            return -1LL;
        };
        std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to the present
        const long long before = statusKilobytes("VmRSS:");
        body();
        const long long added = (statusKilobytes("VmHWM:") - before) * 1024;
        const bool written = ::write(pipeEnds[1], &added, sizeof added) == sizeof added;
        ::_exit(written && !::testing::Test::HasFailure() ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    long long added = -1;
    const bool read = ::read(pipeEnds[0], &added, sizeof added) == sizeof added;
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return read && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? added : -1;
}

double SecondsOf(const std::function<void()>& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

enum class Door { Open, Paste, Settings };

// Hands the text in through the door, as the program does, and says whether it was taken.
bool PassThrough(Door door, const std::string& text) {
    Workbench bench;
    switch (door) {
    case Door::Open: {
        TempFolder folder;
        const std::string path = folder.File("in.xml");
        std::ofstream(path, std::ios::binary) << text;
        FileNewExecute(bench.context);
        return ReadProjectFile(bench.context, path);
    }
    case Door::Paste:
        bench.SetRows({{}});
        bench.table.SetSelection({ColName, 1, ColName, 1});
        bench.clipboard.text = text;
        PasteExecute(bench.edit);
        return bench.table.GetRowCountEx() > 2; // rows were inserted
    case Door::Settings:
        return IniValue(text, "General", "KonnexCellColour").has_value();
    }
    return false;
}

struct CostCase {
    const char* name;
    Door door;
    std::function<std::string()> text; // made when the case runs: most are large
    bool taken;
};

void PrintTo(const CostCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string FileHead = "<?xml version=\"1.0\"?><GatewayParameters><KonnexDevices>"
                             "<Device id=\"1\"><Property_Identifiers>";
const std::string FileTail = "</Property_Identifiers></Device></KonnexDevices></GatewayParameters>";
const std::string ClipHead = "<?xml version=\"1.0\"?><marvanezerezoderadazavodoclip>";
const std::string ClipTail = "</marvanezerezoderadazavodoclip>";

std::string Repeated(const std::string& piece, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + piece.size());
    while (text.size() < bytes) {
        text += piece;
    }
    return text;
}

// Tags with as many attributes as the guard lets through, one after another.
std::string TagsAtTheBound(const std::string& tag, std::size_t bytes) {
    return Repeated("<" + tag + Attributes(StartTagGuard::MaxAttributes) + "/>", bytes);
}

class DoorCost : public ::testing::TestWithParam<CostCase> {};

TEST_P(DoorCost, StaysWithinItsTimeAndMemory) {
    const CostCase& c = GetParam();
    const std::string text = c.text();
    bool taken = false;
    const double seconds = SecondsOf([&] { taken = PassThrough(c.door, text); });
    EXPECT_EQ(taken, c.taken);
    const double allowed =
        (0.1 * static_cast<double>(text.size()) / MegaByte + 0.05) * (Sanitized ? 10 : 1);
    EXPECT_LT(seconds, allowed) << text.size() << " bytes";
    if (!Sanitized) { // the sanitizers' own memory would count
        const long long peak = PeakBytesOf([&] { PassThrough(c.door, text); });
        ASSERT_GE(peak, 0) << "the child failed";
        EXPECT_LT(peak, 4 * static_cast<long long>(text.size()) + (50LL << 20));
        std::printf("%s: %zu bytes, %.3f s, peak %lld MB more\n", c.name, text.size(), seconds,
                    peak >> 20);
    }
}

constexpr std::size_t EightMegaBytes = 8'000'000;

INSTANTIATE_TEST_SUITE_P(
    Inputs, DoorCost,
    ::testing::Values(
        CostCase{"OpenOneTagOf200kAttributes", Door::Open,
                 [] { return FileHead + "<Property" + Attributes(200000) + "/>" + FileTail; },
                 false},
        CostCase{"OpenTagsAtTheBound", Door::Open,
                 [] { return FileHead + TagsAtTheBound("Property", EightMegaBytes) + FileTail; },
                 true},
        CostCase{"OpenTenMegaByteName", Door::Open,
                 [] {
                     return FileHead + "<Property><DatapointName>" + std::string(10'000'000, 'n') +
                            "</DatapointName></Property>" + FileTail;
                 },
                 true},
        CostCase{"OpenEmptyProperties", Door::Open,
                 [] { return FileHead + Repeated("<Property/>", 20'000'000) + FileTail; }, false},
        CostCase{"PasteOneTagOf200kAttributes", Door::Paste,
                 [] { return ClipHead + "<row" + Attributes(200000) + "/>" + ClipTail; }, false},
        CostCase{"PasteRowsAtTheBound", Door::Paste,
                 [] { return ClipHead + TagsAtTheBound("row", EightMegaBytes) + ClipTail; }, true},
        CostCase{"PasteEmptyRowsUpTo16MiB", Door::Paste,
                 [] {
                     return ClipHead +
                            Repeated("<row/>", MaxClipboardDocumentBytes - ClipHead.size() -
                                                   ClipTail.size() - 6) +
                            ClipTail;
                 },
                 true},
        CostCase{"PasteForeignElementsUpTo16MiB", Door::Paste,
                 [] { return Repeated("<a/>x", MaxClipboardDocumentBytes - 8); }, false},
        CostCase{"SettingsOfManyLines", Door::Settings,
                 [] { return "[General]\n" + Repeated("Other=1\n", 16'000'000); }, false},
        CostCase{"SettingsOfOneLongLine", Door::Settings,
                 [] { return "[General]\nKonnexCellColour=" + std::string(16'000'000, '9'); },
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

// The time grows with the size of the text: twice the tags at the bound take about
// twice as long, never four times.
TEST(DoorCost, TimeGrowsLinearlyWithTagsAtTheBound) {
    for (const Door door : {Door::Open, Door::Paste}) {
        const auto text = [door](std::size_t bytes) {
            return door == Door::Open ? FileHead + TagsAtTheBound("Property", bytes) + FileTail
                                      : ClipHead + TagsAtTheBound("row", bytes) + ClipTail;
        };
        const std::string once = text(2'000'000);
        const std::string twice = text(4'000'000);
        // The least of three runs: the machine's other work only adds.
        double onceSeconds = 1e9;
        double twiceSeconds = 1e9;
        for (int run = 0; run < 3; ++run) {
            onceSeconds = std::min(onceSeconds, SecondsOf([&] { PassThrough(door, once); }));
            twiceSeconds = std::min(twiceSeconds, SecondsOf([&] { PassThrough(door, twice); }));
        }
        EXPECT_LT(twiceSeconds, 3 * onceSeconds)
            << (door == Door::Open ? "Open" : "Paste") << ": " << onceSeconds << " s, then "
            << twiceSeconds << " s";
    }
}

// Memory that runs out while a file opens ends in a message and an empty document, not
// in an error the program cannot name.
TEST(DoorCost, OpenThatRunsOutOfMemorySaysSo) {
    if (Sanitized) {
        GTEST_SKIP() << "the sanitizers reserve address space of their own";
    }
    TempFolder folder;
    const std::string path = folder.File("large.xml");
    {
        std::ofstream out(path, std::ios::binary);
        out << FileHead;
        const std::string property = "<Property><DatapointName>" + std::string(200, 'n') +
                                     "</DatapointName><KRO_VariableIndex>7</KRO_VariableIndex>"
                                     "</Property>";
        for (int i = 0; i < 400'000; ++i) {
            out << property;
        }
        out << FileTail;
    }
    const long long peak = PeakBytesOf([&] {
        // Room for the program as it is and 32 MB more: the rows need several times that.
        std::ifstream status("/proc/self/statm");
        long long pages = 0;
        status >> pages;
        const rlim_t limit = static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + (32 << 20));
        const rlimit bound{limit, limit};
        ASSERT_EQ(::setrlimit(RLIMIT_AS, &bound), 0);
        Workbench bench;
        FileNewExecute(bench.context);
        EXPECT_FALSE(ReadProjectFile(bench.context, path));
        ASSERT_EQ(bench.messageBox.shown.size(), 1u);
        EXPECT_EQ(bench.messageBox.shown[0].text,
                  "Unable to open file " + path + ": not enough memory.");
        EXPECT_EQ(bench.table.GetRowCountEx(), 1);
        EXPECT_TRUE(bench.document.FileName.empty());
    });
    EXPECT_GE(peak, 0) << "the child failed";
}

} // namespace

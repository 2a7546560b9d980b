// The packer, read back through the real reader: round trips, reproducibility, refusals.

#include "crypt/algorithms.h"
#include "package/FileSystem.h"
#include "package/Global.h"
#include "package/PackageContents.h"
#include "package/PackageErrors.h"
#include "package/PackageWriter.h"
#include "package/ParallelDeflate.h"
#include "tests/package/PackageFixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace pkgtest;

namespace {
class WriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = ScratchFolder();
        source = root / "src";
        output = root / "out.stp";
    }

    // The reference source: readable texts, a multi-block binary, awkward names.
    std::map<std::string, std::string> ReferenceFiles() const {
        const fs::path fixtures = fs::path(std::getenv("STP_SOURCE_DIR")) / "tests" / "package" / "fixtures" / "demo";
        std::map<std::string, std::string> files;
        for (const auto& rel : FilesBelow(fixtures)) {
            files[rel] = ReadFile(fixtures / rel);
        }
        files["app/data/big.bin"] = Bytes(kDeflateBlockSize + 4321, 11, 30);
        files["app/empty.dat"] = "";
        files["app/a,b.txt"] = "comma";
#ifndef _WIN32
        files["app/a|b.txt"] = "bar"; // not a Windows file name
#endif
        files["app/\xe4\xb8\xad\xe6\x96\x87.txt"] = "non-ASCII name";
        files["system/drivers/d.sys"] = "driver";
        return files;
    }

    void WriteSource(const std::map<std::string, std::string>& files) {
        for (const auto& [rel, bytes] : files) {
            WriteFile(source / fs::u8path(rel), bytes);
        }
    }

    TPackSummary Pack(const TPackOptions& options = {}) {
        return WritePackage(CollectPackInput(InstallerPath(source)), InstallerPath(output), options);
    }

    // Everything that remains in the output's folder besides the source.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root)) {
            if (entry.path().filename() != "src") {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    fs::path root, source, output;
};
} // namespace

TEST_F(WriterTest, RoundTripThroughTheInstaller) {
    const auto files = ReferenceFiles();
    ASSERT_GE(files.size(), 8u);
    WriteSource(files);
    const TPackSummary summary = Pack();

    std::int64_t total = 0;
    for (const auto& [rel, bytes] : files) {
        total += static_cast<std::int64_t>(bytes.size());
    }
    EXPECT_EQ(summary.TotalUnpacked, total);
    EXPECT_EQ(summary.Entries.size(), files.size());
    EXPECT_EQ(summary.PackageSize, fs::file_size(output));

    const std::string bytes = ReadFile(output);
    EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\x0A\x14\x02"));

    const TPackageContents contents = VerifyPackage(InstallerPath(output), u"");
    ASSERT_EQ(contents.Rows.size(), files.size());
    // Rows in path order (app before system), with the folders the installer expects.
    std::vector<std::string> order;
    for (const auto& row : contents.Rows) {
        order.push_back(Utf16ToUtf8(row.Folder + row.Name));
        EXPECT_EQ(bytes.substr(static_cast<std::size_t>(row.Offset), 2), std::string("\x78\xDA"));
    }
    std::vector<std::string> expected;
    for (const auto& [rel, content] : files) { // std::map: bytewise order
        std::string row = rel.rfind("app/", 0) == 0 ? rel.substr(4) : "$System$" + rel.substr(7);
        std::replace(row.begin(), row.end(), '/', '\\');
        expected.push_back(row);
    }
    EXPECT_EQ(order, expected);

    const fs::path dest = root / "dest", sys = root / "sys";
    const UString system = InstallerFolder(sys);
    std::vector<std::int32_t> reports;
    ExtractPackage(InstallerPath(output), InstallerFolder(dest), u"",
                   [&](std::int32_t p) { reports.push_back(p); },
                   TExtractOptions{[system] { return system; }});
    for (const auto& [rel, content] : files) {
        const fs::path written = rel.rfind("app/", 0) == 0 ? dest / fs::u8path(rel.substr(4))
                                                           : sys / fs::u8path(rel.substr(7));
        EXPECT_EQ(ReadFile(written), content) << rel;
    }
    ASSERT_EQ(reports.size(), files.size());
    EXPECT_EQ(reports.back(), 100);
}

TEST_F(WriterTest, SmallFilesAreExactlyCompress2Level9) {
    const std::string text = ReadFile(fs::path(std::getenv("STP_SOURCE_DIR")) / "tests" / "package" /
                                      "fixtures" / "demo" / "app" / "readme.txt");
    WriteSource({{"app/readme.txt", text}, {"app/zero", ""}});
    Pack();
    const std::string bytes = ReadFile(output);
    const std::string a = Zlib(text, 9), b = Zlib("", 9);
    EXPECT_EQ(bytes.substr(0, a.size() + b.size()), a + b);
}

TEST_F(WriterTest, ReproducibleWhateverTheThreads) {
    WriteSource(ReferenceFiles());
    TPackOptions options;
    options.Threads = 1;
    Pack(options);
    const std::string first = ReadFile(output);
    options.Threads = 3;
    Pack(options);
    EXPECT_EQ(ReadFile(output), first);
    Pack();
    EXPECT_EQ(ReadFile(output), first);
}

TEST_F(WriterTest, EveryCipherAndHashPair) {
    WriteSource({{"app/a.txt", "alpha"}, {"app/sub/b.txt", "beta"}});
    int pairs = 0;
    for (const auto& cipher : CipherAlgorithms()) {
        for (const auto& hash : HashAlgorithms()) {
            SCOPED_TRACE(std::string(cipher.Name) + "/" + std::string(hash.Name));
            TPackOptions options;
            options.CipherIndex = cipher.EnvelopeIndex;
            options.HashIndex = hash.EnvelopeIndex;
            Pack(options);
            const fs::path dest = root / "dest";
            fs::remove_all(dest);
            ExtractPackage(InstallerPath(output), InstallerFolder(dest), u"", {}, TExtractOptions{});
            EXPECT_EQ(ReadFile(dest / "a.txt"), "alpha");
            EXPECT_EQ(ReadFile(dest / "sub" / "b.txt"), "beta");
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, 45);
}

TEST_F(WriterTest, RefusedInputLeavesNoOutput) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no files", {}, "holds no files"},
        {"stray file", {{"app/a.txt", "a"}, {"readme.txt", "r"}}, "neither the app nor the system"},
        {"only empty files", {{"app/a", ""}, {"system/b", ""}}, "every file is empty"},
        {"comma in a folder", {{"app/x,y/a.txt", "a"}}, "cannot be stored in the file table"},
#ifndef _WIN32
        {"bar in a folder", {{"app/x|y/a.txt", "a"}}, "cannot be stored in the file table"},
        {"colon in a name", {{"app/c:d.txt", "a"}}, "cannot be installed"},
        {"backslash in a name", {{"app/c\\d.txt", "a"}}, "cannot be installed"},
        {"control character", {{"app/tab\tname", "a"}}, "cannot be stored in the file table"},
        {"dots only", {{"app/...", "a"}}, "cannot be installed"},
        {"dots folder", {{"app/.../a", "a"}}, "leaves the destination"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(source);
        fs::create_directories(source);
        WriteSource(c.files);
        try {
            Pack();
            ADD_FAILURE() << "no error";
        } catch (const EPackageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_TRUE(Leftovers().empty());
    }
}

TEST_F(WriterTest, FailureKeepsAnOlderPackage) {
    WriteFile(output, "older package");
    fs::create_directories(source / "app");
    EXPECT_THROW(Pack(), EPackageError);
    EXPECT_EQ(ReadFile(output), "older package");
    EXPECT_EQ(Leftovers(), std::vector<std::string>{"out.stp"});
}

TEST_F(WriterTest, UnreadableSourceIsAFileError) {
    TPackInput input;
    input.Files.push_back({u"", u"gone.txt", InstallerPath(root / "gone.txt"), 4});
    EXPECT_THROW(WritePackage(input, InstallerPath(output), {}), EFileError);
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(WriterTest, FileChangedWhilePackingIsAnError) {
    WriteFile(root / "a.txt", "four");
    TPackInput input;
    input.Files.push_back({u"", u"a.txt", InstallerPath(root / "a.txt"), 3});
    EXPECT_THROW(WritePackage(input, InstallerPath(output), {}), EFileError);
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(WriterTest, SizesBeyondTheFormatAreRefused) {
    TPackInput input;
    input.Files.push_back({u"", u"huge", InstallerPath(root / "huge"), 2147483648ull});
    EXPECT_THROW(WritePackage(input, InstallerPath(output), {}), EPackageError);
    input.Files = {{u"", u"a", InstallerPath(root / "a"), 2147483647ull},
                   {u"", u"b", InstallerPath(root / "b"), 1}};
    try {
        WritePackage(input, InstallerPath(output), {});
        FAIL() << "no error";
    } catch (const EPackageError& e) {
        EXPECT_NE(std::string(e.what()).find("more than the 2147483647"), std::string::npos) << e.what();
    }
    TPackOptions options;
    options.CipherIndex = 9;
    input.Files = {{u"", u"a", InstallerPath(root / "a"), 1}};
    EXPECT_THROW(WritePackage(input, InstallerPath(output), options), EPackageError);
    EXPECT_FALSE(fs::exists(output));
}

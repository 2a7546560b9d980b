// The whole path on Windows (under Wine): a real program built by the cross compiler is
// patched with a product's resources, packed by the real packer, and then run; it reads its
// resources back through the Windows resource API.

#include "tests/builder/test_files.h"
#include "tools/builder/output_file.h"
#include "tools/builder/package_pack.h"
#include "tools/builder/pe_image.h"
#include "tools/builder/resource_tree.h"
#include "tools/builder/self_path.h"
#include "tools/builder/setup_builder.h"

#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
class Handle final {
public:
    explicit Handle(HANDLE h = nullptr) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return h_; }
    HANDLE* Put() { Close(); return &h_; }
    void Close() {
        if (h_ && h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
        h_ = nullptr;
    }

private:
    HANDLE h_;
};

// Runs `exe` and returns what it wrote to its standard output.
std::string RunAndCapture(const fs::path& exe) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    Handle readEnd, writeEnd;
    EXPECT_TRUE(CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0));
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start " << exe.string() << ": error " << GetLastError();
        return {};
    }
    const Handle processHandle(process.hProcess);
    const Handle threadHandle(process.hThread);
    writeEnd.Close();
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        output.append(buffer, got);
    }
    WaitForSingleObject(processHandle.Get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(processHandle.Get(), &code);
    EXPECT_EQ(code, 0u);
    return output;
}

std::string Summary(const Resource* r) {
    if (!r) {
        return "none";
    }
    std::uint32_t hash = 2166136261u;
    for (const auto b : *r->data) {
        hash = (hash ^ b) * 16777619u;
    }
    return std::to_string(r->data->size()) + ":" + std::to_string(hash);
}

fs::path TestStub() {
    return RunningExecutablePath().parent_path() / "builder_test_stub.exe";
}
} // namespace

TEST(WineBuild, TheUnpatchedStubHasNoProductData) {
    const std::string out = RunAndCapture(TestStub());
    EXPECT_NE(out.find("string1000=stub string 1000\n"), std::string::npos) << out;
    EXPECT_NE(out.find("string1002=\n"), std::string::npos) << out;
    EXPECT_NE(out.find("package=none\n"), std::string::npos) << out;
    EXPECT_NE(out.find("appicon32=no mainicon32=yes\n"), std::string::npos) << out;
}

TEST(WineBuild, PatchedProgramReadsItsProductResources) {
    TempFolder temp;
    std::string ini = ValidDefinitionText();
    ini.insert(ini.find("\n[Pictures]"), "HomePageEn = https://example.com/\n");
    const fs::path definition = MakeProductFolder(temp.Path() / "product", ini);
    const Bytes stubBytes = ReadBytes(TestStub());
    const PeImage stub(std::make_shared<const Bytes>(stubBytes), "builder_test_stub.exe");
    const fs::path setup = temp.Path() / "Setup.exe";
    const SetupBuild build =
        BuildSetup(LoadProductDefinition(definition), stub, PackWithPackageWriter(temp.Path() / "package.tmp"));
    WriteOutputFile(setup, build.file);
    EXPECT_FALSE(fs::exists(temp.Path() / "package.tmp"));
    EXPECT_FALSE(fs::exists(TemporaryBeside(setup, "part")));

    const ResourceTree tree = ReadResourceTree(PeImage(std::make_shared<const Bytes>(ReadBytes(setup)), "Setup.exe"));
    const auto find = [&](const ResourceId& type, const char16_t* name) {
        return tree.Find(type, ResourceId::Name(name), kLanguageChinesePrc);
    };
    const std::string expected =
        "string1000=stub string 1000\n"
        "string1001=TfrmMain\n"
        "string1002=DemoPad\n"
        "string1003=演示记事本\n"
        "string1009=-1\n"
        "string1012=" + Utf16ToUtf8(DefaultRequiredSpace(build.unpackedSize)) + "\n"
        "string1013=https://example.com/\n"
        "package=" + Summary(find(ResourceId::Name(u"STPFILE"), u"SETUPPACKAGE")) + "\n"
        "imageleft0=" + Summary(find(ResourceId::Number(rt::kRcData), u"IMAGELEFT0")) + "\n"
        "imageleft2=" + Summary(find(ResourceId::Number(rt::kRcData), u"IMAGELEFT2")) + "\n"
        "manifest=yes\n"
        "appicon32=yes mainicon32=yes\n"
        "appicon16=yes mainicon16=yes\n"
        "imageicon=32x32x24\n";
    EXPECT_EQ(RunAndCapture(setup), expected);
    EXPECT_EQ(build.unpackedSize, 31u);
    EXPECT_GT(build.packageSize, 7u);
}

TEST(WineBuild, TwoProductsFromTheRealStubDifferOnlyInTheirResources) {
    TempFolder temp;
    const PeImage stub(std::make_shared<const Bytes>(ReadBytes(TestStub())), "builder_test_stub.exe");
    std::vector<Bytes> builds;
    for (const char* title : {"DemoPad", "OtherPad"}) {
        std::string ini = ValidDefinitionText();
        ini.replace(ini.find("TitleEn = DemoPad"), 17, std::string("TitleEn = ") + title);
        const fs::path definition = MakeProductFolder(temp.Path() / title, ini);
        builds.push_back(BuildSetup(LoadProductDefinition(definition), stub,
                                    PackWithPackageWriter(temp.Path() / "package.tmp"))
                             .file.ToBytes());
    }
    const PeImage a(std::make_shared<const Bytes>(builds[0]), "a");
    const PeImage b(std::make_shared<const Bytes>(builds[1]), "b");
    ASSERT_EQ(a.Sections().size(), b.Sections().size());
    ASSERT_EQ(a.Sections().back().NameText(), ".rsrc");
    const std::size_t rsrcStart = a.Sections().back().pointerToRawData;
    ASSERT_EQ(b.Sections().back().pointerToRawData, rsrcStart);
    // Before the resource section only the header fields describing it differ.
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < rsrcStart; ++i) {
        if (builds[0][i] != builds[1][i]) {
            differing.push_back(i);
        }
    }
    const std::size_t opt = a.OptionalHeaderOffset();
    const std::size_t rsrcHeader = a.SectionTableOffset() + 40 * (a.Sections().size() - 1);
    const std::vector<std::pair<std::size_t, std::size_t>> allowed{
        {opt + pe::kOptSizeOfInitializedData, 4}, {opt + pe::kOptSizeOfImage, 4}, {opt + pe::kOptCheckSum, 4},
        {a.DirectoryOffset(pe::kDirResource) + 4, 4}, {rsrcHeader + 8, 4}, {rsrcHeader + 16, 4},
        {a.FileHeaderOffset() + 8, 4}};
    for (const std::size_t i : differing) {
        const bool ok = std::any_of(allowed.begin(), allowed.end(),
                                    [i](const auto& f) { return i >= f.first && i < f.first + f.second; });
        EXPECT_TRUE(ok) << "byte " << i << " differs outside the resource section";
    }
    // After it: the stub's symbol table, unchanged.
    const std::size_t endA = rsrcStart + a.Sections().back().sizeOfRawData;
    const std::size_t endB = rsrcStart + b.Sections().back().sizeOfRawData;
    EXPECT_TRUE(std::equal(builds[0].begin() + endA, builds[0].end(), builds[1].begin() + endB, builds[1].end()));
}

// `stp build` and `stp resources` as a vendor runs them: exit codes, messages, and that a
// failed build leaves no file behind.

#include "tests/builder/oracle.h"
#include "tests/builder/pe_fixture.h"
#include "tests/builder/test_files.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
class StpBuildCli : public ::testing::Test {
protected:
    StpBuildCli() {
        stp_ = STP_TOOL;
        stub_ = temp_.Path() / "stub" / "Setup-stub.exe";
        WriteBytes(stub_, MakeFixture({}).file);
        out_ = temp_.Path() / "out";
        fs::create_directories(out_);
    }

    CommandResult Stp(const std::string& arguments) const {
        std::string command(1, '\'');
        command += stp_.string();
        command += "' ";
        command += arguments;
        command += " 2>&1";
        return RunCommand(command);
    }

    fs::path Product(const std::string& ini) const { return MakeProductFolder(temp_.Path() / "product", ini); }

    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(out_)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder temp_;
    fs::path stp_, stub_, out_;
};
} // namespace

TEST_F(StpBuildCli, BuildWritesOnlyTheSetupAndRepeatsItExactly) {
    const fs::path ini = Product(ValidDefinitionText());
    const CommandResult first = Stp("build '" + ini.string() + "' -o '" + (out_ / "Setup.exe").string() + "' --stub '" +
                          stub_.string() + "'");
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_NE(first.output.find("Setup.exe: "), std::string::npos) << first.output;
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"Setup.exe"});
    const Bytes built = ReadBytes(out_ / "Setup.exe");
    ASSERT_EQ(Stp("build '" + ini.string() + "' -o '" + (out_ / "Again.exe").string() + "' --stub '" + stub_.string() +
                  "'")
                  .exitCode,
              0);
    EXPECT_EQ(ReadBytes(out_ / "Again.exe"), built);
}

TEST_F(StpBuildCli, FailedBuildsLeaveNoFileAndKeepAnExistingOne) {
    WriteText(out_ / "Setup.exe", "the previous build");
    std::string ini = ValidDefinitionText();
    ini.replace(ini.find("pictures/header.bmp"), 19, "pictures/left.jpg");
    const fs::path badPicture = Product(ini);
    const fs::path notAStub = temp_.Path() / "readme.txt";
    WriteText(notAStub, "not a program");
    const struct {
        const char* name;
        std::string arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {"wrong picture", "build '" + badPicture.string() + "' -o '" + (out_ / "Setup.exe").string() + "' --stub '" +
                              stub_.string() + "'",
         1, "([Pictures] ImageIcon): is not a BMP file"},
        {"not a stub", "build '" + badPicture.string() + "' -o '" + (out_ / "Setup.exe").string() + "' --stub '" +
                           notAStub.string() + "'",
         1, "readme.txt: is not a Windows executable"},
        {"no stub beside stp", "build '" + badPicture.string() + "' -o '" + (out_ / "Setup.exe").string() + "'", 2,
         "Setup-stub.exe is not beside stp"},
        {"no output", "build '" + badPicture.string() + "'", 2, "needs PRODUCT.ini and -o Setup.exe"},
        {"no output folder", "build '" + badPicture.string() + "' -o '" + (out_ / "none" / "Setup.exe").string() + "'",
         2, "the output folder does not exist"},
        {"unknown option", "build x.ini -o y.exe --fast", 2, "unknown option '--fast'"},
        {"missing definition", "build '" + (temp_.Path() / "none.ini").string() + "' -o '" +
                                   (out_ / "Setup.exe").string() + "' --stub '" + stub_.string() + "'",
         1, "none.ini: cannot be read (the product definition)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandResult run = Stp(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_EQ(OutFiles(), std::vector<std::string>{"Setup.exe"});
        EXPECT_EQ(ReadText(out_ / "Setup.exe"), "the previous build");
    }
}

TEST_F(StpBuildCli, ResourcesWritesTheScriptAndItsFiles) {
    const fs::path ini = Product(ValidDefinitionText());
    const CommandResult run = Stp("resources '" + ini.string() + "' -o '" + (out_ / "rc").string() + "'");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(out_ / "rc")) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"app.ico", "header.bmp", "left-cn.jpg", "left-en.jpg", "product.rc",
                                               "setup.stp"}));
    EXPECT_NE(ReadText(out_ / "rc" / "product.rc").find("1002, \"DemoPad\""), std::string::npos);
}
